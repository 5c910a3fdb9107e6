// Where the commands both stand-in hosts share write: the session's lines, and its error lines
// (which name the script's line and make the session fail).
#pragma once

#include <string>

namespace hostscript {

class ScriptOutput {
public:
    virtual void Line(const std::string& text) = 0;
    virtual void Error(const std::string& text) = 0;

protected:
    ~ScriptOutput() = default;
};

}  // namespace hostscript
