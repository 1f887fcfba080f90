#pragma once
// The link object as the connection thread's port.
#include "view/ConnectServices.h"

class CSerialMovalMFC;
class CTK_TermDlg;

class CLinkConnectPort : public IConnectPort {
public:
    explicit CLinkConnectPort(CSerialMovalMFC& link) : m_link(link) {}

    [[nodiscard]] int32_t Open(const std::string& device, const IWindowObject* window, uint32_t message,
                               uint32_t inQueue, uint32_t outQueue) override;
    [[nodiscard]] int32_t Setup(int32_t baudRate, int32_t dataBits, int32_t parity, int32_t stopBits) override;
    [[nodiscard]] int32_t SetupHandshaking(int32_t mode) override;
    [[nodiscard]] int32_t SetDTR(bool on) override;
    [[nodiscard]] int32_t SetMask(uint32_t mask) override;
    [[nodiscard]] int32_t Close() override;
    bool IsOpen() const override;
    std::string ErrorText(int32_t code) const override;
    bool ResetLinkState() override;
    void SetFirstBuffer() override;
    int StreamProtocol() const override;
    // Also while the terminal programs the remote (before and after the
    // link feeds the lines, the remote sends nothing).
    bool IsProgramming() const override;
    // A Moval's terminal: the link drops or passes on what arrives.
    bool TerminalHoldsLink() const override;
    // Before the connection thread starts, and after it has ended.
    void SetTerminal(const CTK_TermDlg* terminal) { m_terminal = terminal; }

private:
    CSerialMovalMFC& m_link;
    const CTK_TermDlg* m_terminal = nullptr;
};
