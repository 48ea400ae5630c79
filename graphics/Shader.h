#pragma once

#include <string>

// Programmable shaders are not supported by the renderer: Load always
// yields null and every caller draws unshaded.
class Shader
{
public:
    virtual ~Shader() = default;

    // properties/<name>.hlsl; null when shaders are unsupported or missing.
    static Shader* Load(const std::string& name);
    // Sets a float constant on both stages.
    void SetFloat(const std::string& name, float value);
};
