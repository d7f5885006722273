#include "context.h"

namespace vbs {

bool Context::raise(int32_t number, const QString &description, const QString &source)
{
    // An empty description is filled in later: with the name of the failing call where
    // there is one ("Invalid procedure call or argument: 'Mid'"), else VBScript's text.
    m_hasError = true;
    m_error = ScriptError();
    m_error.number = number;
    m_error.description = description;
    m_error.source = source;
    return false;
}

float Context::nextRandom(double argument)
{
    if (argument == 0)
        return m_lastRandom;
    if (argument < 0) {
        std::mt19937 fixed(uint32_t(int64_t(argument * 1000)));
        m_lastRandom = std::uniform_real_distribution<float>(0.0f, 1.0f)(fixed);
        return m_lastRandom;
    }
    m_lastRandom = std::uniform_real_distribution<float>(0.0f, 1.0f)(m_random);
    if (m_lastRandom >= 1.0f)
        m_lastRandom = 0.0f;
    return m_lastRandom;
}

} // namespace vbs
