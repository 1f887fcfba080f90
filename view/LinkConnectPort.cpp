#include "view/LinkConnectPort.h"

#include "link/LiveData.h"
#include "link/SerialMoval.h"
#include "link/TermDlg.h"
#include "platform/SerialErrors.h"

int32_t CLinkConnectPort::Open(const std::string& device, const IWindowObject* window, uint32_t message,
                               uint32_t inQueue, uint32_t outQueue)
{
    return m_link.Open(device.c_str(), window, message, inQueue, outQueue);
}

int32_t CLinkConnectPort::Setup(int32_t baudRate, int32_t dataBits, int32_t parity, int32_t stopBits)
{
    return m_link.Setup(baudRate, dataBits, parity, stopBits);
}

int32_t CLinkConnectPort::SetupHandshaking(int32_t mode)
{
    return m_link.SetupHandshaking(mode);
}

int32_t CLinkConnectPort::SetDTR(bool on)
{
    return m_link.SetDTR(on);
}

int32_t CLinkConnectPort::SetMask(uint32_t mask)
{
    return m_link.SetMask(mask);
}

int32_t CLinkConnectPort::Close()
{
    return m_link.Close();
}

bool CLinkConnectPort::IsOpen() const
{
    return m_link.IsOpen();
}

std::string CLinkConnectPort::ErrorText(int32_t code) const
{
    return SerialErrorText(code);
}

bool CLinkConnectPort::ResetLinkState()
{
    return m_link.ResetLinkState();
}

void CLinkConnectPort::SetFirstBuffer()
{
    g_liveData.firstBuffer = 1;
}

int CLinkConnectPort::StreamProtocol() const
{
    return m_link.StreamProtocol();
}

bool CLinkConnectPort::IsProgramming() const
{
    return g_linkMode.load() == kLinkProgramming || (m_terminal != nullptr && m_terminal->IsProgramming());
}

bool CLinkConnectPort::TerminalHoldsLink() const
{
    return m_terminal != nullptr && m_terminal->IsShown() && g_linkMode.load() != kLinkDecode;
}
