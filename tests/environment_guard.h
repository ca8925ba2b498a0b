// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Sets an environment variable for the life of a test and puts the old value back.

#include <cstdlib>
#include <optional>
#include <string>

class EnvironmentGuard
{
public:
    EnvironmentGuard(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        set(value.c_str());
    }
    ~EnvironmentGuard() { set(m_old ? m_old->c_str() : nullptr); }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    void set(const char* value) const
    {
#ifdef _WIN32
        _putenv_s(m_name.c_str(), value ? value : ""); // an empty value removes it
#else
        if (value)
            setenv(m_name.c_str(), value, 1);
        else
            unsetenv(m_name.c_str());
#endif
    }

    std::string m_name;
    std::optional<std::string> m_old;
};
