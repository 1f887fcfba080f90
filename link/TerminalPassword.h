#pragma once
// The service terminal's access lock: the fixed service code gives full
// authority, the code of the day a provisional one for that calendar day.
#include <cstdint>
#include <functional>
#include <string>

enum class TermAccess { kRefused, kProvisional, kFull };

inline constexpr char kServiceCode[] = "tornwhisk";
inline constexpr std::size_t kPasswordMaxLength = 39;
inline constexpr int kDayCodeLength = 7;
// Digits and lower-case letters without "l" and "o", which read as 1 and 0.
inline constexpr char kDayCodeTable[] = "0123456789abcdefghijkmnpqrstuvwxyz";
static_assert(sizeof kDayCodeTable - 1 == 34, "the code of the day draws from 34 characters");

inline constexpr char kAccessDeniedText[] = "Sorry, wrong password\r\n";
inline constexpr char kAccessDeniedCaption[] = "Access Denied";

// ISO C's example generator, fixed so that a code stays the same on every
// machine and with every runtime: draws 0..32767.
class CDayCodeGenerator {
public:
    explicit CDayCodeGenerator(uint32_t seed) : m_next(seed) {}
    int Draw()
    {
        m_next = m_next * 1103515245u + 12345u;
        return static_cast<int>((m_next / 65536u) % 32768u);
    }

private:
    uint32_t m_next;
};

// Seven characters, one per draw after a discarded first draw.
std::string DayCodeFromDraws(const std::function<int()>& draw);
// The code of the day for a local calendar date.
std::string CodeOfTheDay(int year, int month, int day);

// The lock's decision on what was typed. With the service switch on the
// command line the answer is full authority whatever was typed.
TermAccess CheckTerminalPassword(const std::string& entered, bool serviceMode, int year, int month, int day);
