#include "graphics/ShaderStage.h"

bool ShaderStage::SetFloat(const std::string&, float)
{
    return false;
}
