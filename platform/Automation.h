#pragma once
// Another program's automation objects: created by their class name, then
// asked by method number with a list of values. Only Windows has the object
// broker behind this; here every class is "not available". The scripted
// automation plays objects for tests.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "platform/OleDate.h"

// One value passed to or returned by a method: nothing, a flag, a 32-bit
// integer, a double, a text, a date, or a one-dimensional array of values.
class AutomationValue {
public:
    using Array = std::vector<AutomationValue>;

    AutomationValue() = default;
    AutomationValue(bool value) : m_value(value) {}
    AutomationValue(int32_t value) : m_value(value) {}
    AutomationValue(double value) : m_value(value) {}
    AutomationValue(std::string value) : m_value(std::move(value)) {}
    AutomationValue(const char* value) : m_value(std::string(value)) {}
    AutomationValue(COleDate value) : m_value(value) {}
    AutomationValue(Array value) : m_value(std::move(value)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    template <class T>
    const T* Get() const { return std::get_if<T>(&m_value); }

    friend bool operator==(const AutomationValue&, const AutomationValue&) = default;

private:
    std::variant<std::monostate, bool, int32_t, double, std::string, COleDate, Array> m_value;
};

// Any failure inside a call: the object refused it or the other program went away.
class AutomationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Released when the pointer goes.
class IAutomationObject {
public:
    virtual ~IAutomationObject() = default;
    // Throws AutomationError.
    virtual AutomationValue Invoke(int32_t dispid, const std::vector<AutomationValue>& arguments) = 0;
};

class IAutomation {
public:
    virtual ~IAutomation() = default;
    // Null when no such class is registered or it cannot be started.
    virtual std::unique_ptr<IAutomationObject> Create(const std::string& progId) = 0;
};

// This platform's: no object broker, so no class is available.
class CNoAutomation final : public IAutomation {
public:
    std::unique_ptr<IAutomationObject> Create(const std::string&) override { return nullptr; }
};

IAutomation& SystemAutomation();

// Objects of the classes it is given; every call goes to the class's handler
// (which may throw). It counts the objects alive and keeps every call.
class CScriptedAutomation final : public IAutomation {
public:
    using Handler = std::function<AutomationValue(int32_t dispid, const std::vector<AutomationValue>& arguments)>;
    struct Call {
        std::string progId;
        int32_t dispid = 0;
        std::vector<AutomationValue> arguments;
    };

    void AddClass(const std::string& progId, Handler handler);
    std::unique_ptr<IAutomationObject> Create(const std::string& progId) override;

    int Created() const;
    int Alive() const;
    std::vector<Call> Calls() const;

private:
    class Object;
    struct Shared {
        mutable std::mutex mutex;
        std::map<std::string, Handler> classes;
        std::vector<Call> calls;
        int created = 0;
        int alive = 0;
    };
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};
