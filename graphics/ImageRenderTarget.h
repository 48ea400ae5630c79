#pragma once

#include "platform/RenderDevice.h"

class D3DInterface;

// Something a Graphics can draw into: the screen or a surface.
class ImageRenderTarget
{
public:
    virtual ~ImageRenderTarget() = default;

    // Main thread: the device texture drawn into (0 when none could be made).
    virtual RenderTextureId GetRenderTexture() = 0;
    // The renderer the texture lives on: null until GetRenderTexture made one.
    virtual D3DInterface* GetRenderer() const = 0;
    virtual int GetTargetWidth() const = 0;
    virtual int GetTargetHeight() const = 0;
    // Called after something was drawn into the target.
    virtual void ContentChanged() {}
};
