#pragma once

#include "graphics/ShaderStage.h"

class PixelShader : public ShaderStage
{
};
