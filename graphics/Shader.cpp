#include "graphics/Shader.h"

Shader* Shader::Load(const std::string&)
{
    return nullptr;
}

void Shader::SetFloat(const std::string&, float) {}
