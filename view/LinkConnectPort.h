#pragma once
// The link object as the connection thread's port.
#include "view/ConnectServices.h"

class CSerialMovalMFC;

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
    bool IsProgramming() const override;

private:
    CSerialMovalMFC& m_link;
};
