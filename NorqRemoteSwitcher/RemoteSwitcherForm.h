#pragma once
// The main form's logic: the list of remotes, its caption, the "Connect"
// rules and the hand-over to quorin. frmMain mirrors it.
#include <string>
#include <vector>

#include "NorqRemoteSwitcher/RemoteTable.h"
#include "NorqRemoteSwitcher/SwitcherMain.h"

class CRemoteSwitcherForm {
public:
    CRemoteSwitcherForm(const SwitcherServices& services, RemoteTable& table);

    // Loads the list; false (after a box) when the form is to close.
    bool Load();
    // After the configuration form: the list again, from the table.
    void Rebuild();

    const std::vector<std::string>& Items() const { return m_items; }
    int Selected() const { return m_selected; }
    const std::string& Caption() const { return m_caption; }
    bool ConnectEnabled() const { return m_connectEnabled; }
    bool MsbtVisible() const { return m_msbtVisible; }
    bool MsbtChecked() const { return m_msbtChecked; }

    void Select(int index);
    void SetMsbtChecked(bool checked);
    // The hidden click area.
    void RevealMsbt() { m_msbtVisible = true; }
    // Hands the chosen remote (or the system's stack) to quorin and starts
    // it; the form closes afterwards whatever happened.
    void Connect();

private:
    SwitcherServices m_services;
    RemoteTable& m_table;
    std::vector<std::string> m_items;
    int m_selected = 0;
    std::string m_caption;
    bool m_connectEnabled = false;
    bool m_msbtVisible = false;
    bool m_msbtChecked = false;
};

inline constexpr char kNoRemotesItem[] = "No Remotes Configured";
inline constexpr char kNoRemotesCaption[] =
    "Currently there are no Norq remotes configured\nfor Quorin.\n\n"
    "Please click the \"Configure\" button to add them once you have gone through the bluetooth discovery procedure.";
inline constexpr char kRemotesCaption[] =
    "Select the Norq wireless remote from the list below and click \"Connect\" or click \"Configure\" to make "
    "changes to the list of remotes.";
// A box without a caption of its own is titled with the program's name.
inline constexpr char kSwitcherTitle[] = "NorqRemoteSwitcher";
inline constexpr char kLoadErrorText[] = "There was an error while running this application.\nPlease call Norq Technology.";
