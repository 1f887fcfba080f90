#pragma once
// The configuration form's logic: ten rows of type, name and COM port,
// the port box's rules, and the save on OK. frmConfigure mirrors it.
#include <array>
#include <string>
#include <vector>

#include "NorqRemoteSwitcher/RemoteTable.h"
#include "platform/Prompter.h"

struct ConfigureRow {
    int typeIndex = 0;  // in the type list: 0 "<None>", then type + 1
    std::string name;
    std::string port;
};

// What a port box does with its new text.
enum class PortCheck { Keep, ReplaceWithZero, NotANumber };

class CRemoteConfigureForm {
public:
    static constexpr int kRows = kMaxRemotes;

    CRemoteConfigureForm(CRegistryModule& registry, IPrompter& prompter, RemoteTable& table);

    static const std::vector<std::string>& TypeItems();
    // A row's name and port boxes take input only with a type chosen.
    static bool RowEnabled(int typeIndex) { return typeIndex > 0; }
    static PortCheck CheckPort(const std::string& text);
    // Typed characters other than the digits are dropped.
    static bool PortKeyAccepted(char32_t typed) { return typed >= U'0' && typed <= U'9'; }

    const ConfigureRow& Row(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    void SetType(int row, int typeIndex) { m_rows[static_cast<std::size_t>(row)].typeIndex = typeIndex; }
    void SetName(int row, const std::string& name) { m_rows[static_cast<std::size_t>(row)].name = name; }
    // The port box's text after a change: as typed, "0" for a number out
    // of range; a text that is no number gets a box and stays.
    std::string PortChanged(int row, const std::string& text);

    // Asks, and saves on Yes; true when the form is to close.
    bool Ok();

private:
    CRegistryModule& m_registry;
    IPrompter& m_prompter;
    RemoteTable& m_table;
    std::array<ConfigureRow, kRows> m_rows{};
};

inline constexpr char kNotANumberText[] = "That action is not allowed.\nPlease only input a number.";
inline constexpr char kSaveQuestion[] = "Do you want to save these values?";
inline constexpr char kSaveCaption[] = "Save?";
inline constexpr char kSaveErrorText[] = "There was an error when saving these values.";
