#pragma once

#include "graphics/ShaderStage.h"

class VertexShader : public ShaderStage
{
};
