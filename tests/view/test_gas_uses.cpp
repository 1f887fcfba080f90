// The airway adaptor's count: what is stored, when the dialog comes, what
// it says and leaves, and the reorder file as it is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "link/LiveData.h"
#include "view/GasUses.h"

namespace {

namespace fs = std::filesystem;

class FakeGasView : public IGasUsesView {
public:
    int32_t DeviceKind() const override { return kind; }
    uint16_t FeatureBits() const override { return bits; }
    int32_t StoredUses() const override { return uses; }
    void StoreUses(int32_t value) override
    {
        uses = value;
        ++stores;
    }
    int32_t RunGasUsesDialog(int32_t value) override
    {
        CGasUsesForm form(value);
        form.Init("");
        shown = form.remainingText;
        form.adaptorReplaced = replace;
        if (pressOk)
            form.OnOK();
        return form.Uses();
    }

    int32_t kind = kDeviceTarvikPlus;
    uint16_t bits = kFeatureEcg | kFeatureCO2;
    int32_t uses = 20;
    bool replace = false;
    bool pressOk = true;
    int stores = 0;
    std::optional<std::string> shown;
};

class TempFile {
public:
    explicit TempFile(const std::string& bytes)
        : m_path(fs::temp_directory_path() / ("gas-reorder-" + std::to_string(getpid()) + ".txt"))
    {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    ~TempFile() { fs::remove(m_path); }
    std::string Path() const { return m_path.string(); }

private:
    fs::path m_path;
};

}  // namespace

TEST(GasUses, CountsDownSilentlyThenAsksAndStoresTheDialogsCount)
{
    struct Case {
        const char* what;
        int32_t kind;
        uint16_t bits;
        int32_t stored;
        bool replace, ok;
        int32_t after;
        const char* shown;  // null: no dialog
    };
    const uint16_t gas = kFeatureEcg | kFeatureCO2;
    const Case cases[] = {
        {"20 silently", kDeviceTarvikPlus, gas, 20, false, true, 19, nullptr},
        {"6 silently", kDeviceSelvo, gas, 6, false, true, 5, nullptr},
        {"5 asks", kDeviceTarvikPlus, gas, 5, false, true, 4, "You have 5 uses remaining"},
        {"5, Escape", kDeviceTarvikPlus, gas, 5, false, false, 4, "You have 5 uses remaining"},
        {"0 stays", kDeviceTarvikPlus, gas, 0, false, true, 0, "You have 0 uses remaining"},
        {"-3 as 0", kDeviceTarvikPlus, gas, -3, false, true, 0, "You have 0 uses remaining"},
        {"replaced", kDeviceTarvikPlus, gas, 2, true, true, 20, "You have 2 uses remaining"},
        {"replaced, Escape", kDeviceTarvikPlus, gas, 2, true, false, 1, "You have 2 uses remaining"},
        {"Brindle", kDeviceBrindle, gas, 12, false, true, 12, nullptr},
        {"no CO2", kDeviceTarvikPlus, kFeatureEcg | kFeatureO2, 12, false, true, 12, nullptr},
    };
    for (const Case& c : cases) {
        FakeGasView view;
        view.kind = c.kind;
        view.bits = c.bits;
        view.uses = c.stored;
        view.replace = c.replace;
        view.pressOk = c.ok;
        CountGasProbeUse(view);
        EXPECT_EQ(view.uses, c.after) << c.what;
        EXPECT_EQ(view.stores, c.kind == kDeviceBrindle || (c.bits & kFeatureCO2) == 0 ? 0 : 1) << c.what;
        if (c.shown == nullptr)
            EXPECT_FALSE(view.shown) << c.what;
        else
            EXPECT_EQ(view.shown, c.shown) << c.what;
    }
}

TEST(GasUses, ReorderTextFromTheFileOrOurOwn)
{
    const std::string big(kReorderTextLimit + 100, 'x');
    const struct {
        const char* what;
        std::optional<std::string> file;
        std::string shown;
    } cases[] = {
        {"missing", std::nullopt, BuiltInReorderText()},
        {"CRLF", "Box A\r\nBox B\r\n\r\nCall us\r\n", "Box A\nBox B\n\nCall us\n"},
        {"lone CR", "a\rb", "ab"},
        {"markup stays text", "<b>x</b>", "<b>x</b>"},
        {"oversized", big, std::string(kReorderTextLimit, 'x')},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        std::optional<TempFile> file;
        std::string path = (fs::temp_directory_path() / "gas-reorder-absent.txt").string();
        if (c.file) {
            file.emplace(*c.file);
            path = file->Path();
        }
        EXPECT_EQ(ReadReorderText(path), c.shown) << c.what;
        CGasUsesForm form(3);
        form.Init(path);
        EXPECT_EQ(form.reorderText, c.shown) << c.what;
        EXPECT_FALSE(form.adaptorReplaced);
    }
}

// A connection's use: once per connection the user starts, once the live
// remote has said what it is and that it measures CO2; a link that drops
// and comes back counts nothing.
TEST(GasUses, AConnectionCountsOnceAfterTheRemoteReportsCo2)
{
    enum class Op { Connect, Disconnect, Report };
    const uint16_t co2 = kFeatureEcg | kFeatureCO2;
    const uint16_t reset = kFeatureEcg | kFeatureTemp;  // the bits before the remote reports
    const struct {
        const char* what;
        Op op;
        bool live;
        int32_t kind;
        uint16_t bits;
        bool counts;
    } steps[] = {
        {"not connected", Op::Report, true, kDeviceSelvo, co2, false},
        {"the user connects", Op::Connect, false, 0, 0, false},
        {"the start-up's bits", Op::Report, true, kDeviceUnknown, reset, false},
        {"not yet live", Op::Report, false, kDeviceSelvo, co2, false},
        {"no CO2", Op::Report, true, kDeviceSelvo, reset, false},
        {"CO2 reported", Op::Report, true, kDeviceSelvo, co2, true},
        {"reported again", Op::Report, true, kDeviceSelvo, co2, false},
        {"the link drops and returns", Op::Report, true, kDeviceSelvo, co2, false},
        {"the user connects again", Op::Connect, false, 0, 0, false},
        {"a Brindle", Op::Report, true, kDeviceBrindle, co2, false},
        {"the user disconnects", Op::Disconnect, false, 0, 0, false},
        {"after the disconnect", Op::Report, true, kDeviceSelvo, co2, false},
        {"a Tarvik connected", Op::Connect, false, 0, 0, false},
        {"a Tarvik with CO2", Op::Report, true, kDeviceTarvikPlus, co2, true},
    };
    CConnectionGasUse use;
    for (const auto& s : steps) {
        bool counted = false;
        switch (s.op) {
        case Op::Connect: use.OnUserConnect(); break;
        case Op::Disconnect: use.OnUserDisconnect(); break;
        case Op::Report: counted = use.TakeDue(s.live, s.kind, s.bits); break;
        }
        EXPECT_EQ(counted, s.counts) << s.what;
    }
}
