#pragma once

#include "graphics/Image.h"

// A rectangle of another image, drawn from the parent's texture. The parent
// outlives the child.
class ImageChild : public Image
{
public:
    ImageChild(Image* parent, const Rect& area);

    Image* GetParent() const { return m_parent; }
    const Rect& GetArea() const { return m_area; }

    bool IsPlainBitmap() const override { return m_parent != nullptr && m_parent->IsPlainBitmap(); }
    bool GetTextureSource(TextureSource& source) override;
    bool UploadTexture() override;
    void ReleaseTexture() override {}

protected:
    std::uint32_t ReadPixel(int x, int y) const override;

private:
    Image* m_parent = nullptr;
    Rect m_area;
};
