#pragma once

#include <string>

// One stage of a shader program (never compiled here: shaders are unsupported).
class ShaderStage
{
public:
    virtual ~ShaderStage() = default;
    virtual bool SetFloat(const std::string& name, float value);
};
