#pragma once
// Sets or removes one environment variable for the length of a test.

#include <cstdlib>
#include <optional>
#include <string>

namespace testsupport {

class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentValue() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace testsupport
