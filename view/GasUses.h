#pragma once
// The airway adaptor's remaining uses: counted down at each new patient and
// connection of a gas-capable remote, and the "Airway Adaptor Status"
// dialog's rules once five or fewer remain.
#include <cstdint>
#include <string>

inline constexpr int32_t kGasUsesFresh = 20;      // a new adaptor
inline constexpr int32_t kGasUsesWarnBelow = 6;   // the dialog from 5 down
inline constexpr std::size_t kReorderTextLimit = 4096;
inline constexpr char kReorderFileName[] = "CO2_Reorder.txt";
inline constexpr char kGasUsesCaption[] = "Airway Adaptor Status";
inline constexpr char kGasUsesNotice[] =
    "NOTICE\n\nYou have used the gas sensor airway adaptor for at least 15 patients.\n"
    "Gas measurement accuracy has not been confirmed beyond 20 patients for each airway adaptor.";

// What the count needs of the view.
class IGasUsesView {
public:
    virtual ~IGasUsesView() = default;
    virtual int32_t DeviceKind() const = 0;
    virtual uint16_t FeatureBits() const = 0;
    virtual int32_t StoredUses() const = 0;           // "Gas Probe Uses" in force
    // Into the settings in force, their stored image and the store.
    virtual void StoreUses(int32_t uses) = 0;
    // Runs the dialog on `uses`; the count it ends with.
    virtual int32_t RunGasUsesDialog(int32_t uses) = 0;
};

// One use of the adaptor, for a new patient or a connection.
void CountGasProbeUse(IGasUsesView& view);

// The use of a connection: one per connection the user starts, due once the
// live remote has told what it is and that it measures CO2. A link that
// drops and comes back is the same connection.
class CConnectionGasUse {
public:
    void OnUserConnect() { m_due = true; }
    void OnUserDisconnect() { m_due = false; }
    // True once per connection, when the use is to be counted now.
    bool TakeDue(bool live, int32_t deviceKind, uint16_t featureBits);

private:
    bool m_due = false;
};

// The reorder text: the file's first 4096 bytes without carriage returns,
// else our own text.
std::string ReadReorderText(const std::string& path);
const char* BuiltInReorderText();

// The dialog's logic, which its window mirrors.
class CGasUsesForm {
public:
    explicit CGasUsesForm(int32_t uses) : m_uses(uses < 0 ? 0 : uses) {}

    // Fills the texts from the count held on entry, then counts this use.
    void Init(const std::string& reorderPath);
    // OK: a replaced adaptor starts again at 20.
    void OnOK();

    int32_t Uses() const { return m_uses; }
    std::string remainingText;  // edit 4000
    std::string reorderText;    // static 1347
    bool adaptorReplaced = false;  // radio 3950; radio 3980 is its opposite

private:
    int32_t m_uses;
};
