#pragma once

#include "graphics/GraphicsState.h"
#include "graphics/Transform2D.h"

#include <memory>
#include <string>

class D3DInterface;
class FrameContext;
class Image;
class ImageRenderTarget;
class ImageSurface;
class Font;
struct BatchQueue;

// The drawing context, made on the stack over the screen or any surface.
// Without a target it draws nothing and serves to measure text.
//
// Colours: images are modulated by the current colour as it stands, so a
// caller fades by scaling all four components, and a colour with alpha 0
// adds its light. Rectangles take the colour with straight alpha unless
// its premultiplied flag is set. Text is written with y on the first line's
// baseline: callers that mean the top add the font's ascent.
class Graphics
{
public:
    Graphics();
    explicit Graphics(ImageRenderTarget* target);
    // Drawing the screen within a frame: what is drawn is recorded there, and only its clip may change.
    Graphics(ImageRenderTarget* target, FrameContext* frame);
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics& other);
    // Draws what is still batched.
    ~Graphics();

    ImageRenderTarget* GetTarget() const { return m_target; }
    FrameContext* GetFrameContext() const { return m_frame; }
    const GraphicsState& GetState() const { return m_state; }
    void SetState(const GraphicsState& state);

    void Translate(float dx, float dy);
    float GetTransX() const { return m_state.transX; }
    float GetTransY() const { return m_state.transY; }
    // Intersects the clip with the rectangle moved by the translation.
    void ClipRect(int x, int y, int width, int height);
    void ClipRect(const FRect& rect);
    // The whole target again.
    void ClearClipRect();
    const FRect& GetClipRect() const { return m_state.clipRect; }

    void SetColor(const Color& color);
    const Color& GetColor() const { return m_state.color; }
    void SetColorizeImages(bool colorize);
    bool GetColorizeImages() const { return m_state.colorizeImages; }
    // The multiplier has straight alpha: drawings fade with its alpha.
    void SetColorMultiplier(const ColorMultiplier& multiplier);
    void MultiplyColor(float red, float green, float blue, float alpha);
    const ColorMultiplier& GetColorMultiplier() const { return m_state.colorMultiplier; }
    void SetFont(Font* font);
    Font* GetFont() const { return m_state.font; }
    void SetDrawMode(int mode);
    int GetDrawMode() const { return m_state.drawMode; }
    void SetCulling(bool culling);
    bool GetCulling() const { return m_state.culling; }
    void SetShader(Shader* shader);
    Shader* GetShader() const { return m_state.shader; }

    // The matrix every drawing goes through after the translation, in the
    // target's pixels.
    void SetMatrix(const Matrix4& matrix);
    void ClearMatrix();
    // Applies the transform about the local point (centreX, centreY) before
    // the current matrix: later drawings (children too) are transformed.
    void MultiplyMatrix(const Matrix4& matrix, float centreX = 0.0f, float centreY = 0.0f);
    const Matrix4& GetMatrix() const { return m_state.matrix; }

    // While batching, drawings are queued and drawn in stable batch order
    // (lower first) by FlushBatch; switching batching off flushes.
    void SetBatching(bool batching);
    bool IsBatching() const { return m_state.batching; }
    void AddBatchOrder(int order);
    int GetBatchOrder() const { return m_state.batchOrder; }
    void FlushBatch();
    // While set, drawings go into a cleared layer of the target's size that
    // is laid onto the target (normal blend) when the flag is cleared or the
    // batch is flushed, so blend modes inside act on the layer alone. The
    // layer takes the batch order it was opened with.
    void SetOffscreenLayer(bool offscreen);
    bool IsOffscreenLayer() const { return m_state.offscreenLayer; }

    void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect);
    void FillRectF(const FRect& rect);
    // A one-pixel outline inside the rectangle.
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect);

    void DrawImage(Image* image, int x, int y, int cell = 0);
    void DrawImage(Image* image, int x, int y, const Rect& source);
    // Stretched from the source rectangle onto the destination.
    void DrawImage(Image* image, const Rect& destination, const Rect& source);
    void DrawImageF(Image* image, float x, float y, int cell = 0);
    void DrawImageScaled(Image* image, int x, int y, int width, int height, int cell = 0);
    // Source rectangle inside the cell, in the cell's pixels.
    void DrawImageSrcF(Image* image, float x, float y, const FRect& source, int cell = 0);
    // The cell, centred on (centreX, centreY), through the transform.
    void DrawImageMatrixCentered(Image* image, const Transform2D& transform, int cell, float centreX,
                                 float centreY);
    // The cell with its top-left corner at (x, y), through the transform
    // applied about (centreX, centreY).
    void DrawImageMatrix(Image* image, const Matrix4& matrix, int cell, float x, float y, float centreX,
                         float centreY);
    // As DrawImageMatrix, blended by the current draw mode's effect.
    void DrawImageMatrixEffect(Image* image, const Matrix4& matrix, int cell, float x, float y, float centreX,
                               float centreY);
    // The cell as a mesh of columns x rows through the transform (about the
    // centre), which also reduces the affine warp of a perspective.
    void DrawImageMesh(Image* image, const Matrix4& matrix, int cell, float x, float y, float centreX,
                       float centreY, int columns, int rows);
    // The image cell with its alpha multiplied by the mask cell's alpha,
    // both with the top-left corner at (x, y).
    void DrawImageMasked(Image* image, int cell, Image* mask, int maskCell, float x, float y);
    // The image cell shown only inside the mask rectangle (relative to (x, y)).
    void DrawImageMaskRect(Image* image, int cell, const FRect& mask, float x, float y);
    // For fonts: the source rectangle of the image at (x, y), modulated by
    // the current colour whatever the colorize flag says.
    void DrawGlyph(Image* image, float x, float y, const Rect& source);

    // One line of text from start for length characters (-1: to the end).
    // Justification 0 centres in width, 1 aligns right, -1 left; width -1
    // means no width. Returns the width of the text.
    int WriteString(const std::wstring& text, int x, int y, int width = -1, int justification = -1,
                    bool draw = true, int start = 0, int length = -1);
    // Wrapped at blanks and "\n" inside the rectangle's width; line spacing
    // -1 is the font's. Returns the text's height (lines x line spacing).
    int WriteWordWrapped(const Rect& rect, const std::wstring& text, int lineSpacing = -1,
                         int justification = -1, int maxLines = 100000, int* widestLine = nullptr);
    int GetWordWrappedHeight(int width, const std::wstring& text, int lineSpacing = -1,
                             int* widestLine = nullptr);

    // A cleared surface of at least that size from a shared pool.
    ImageSurface* GetTempSurface(int width, int height);
    void ReleaseTempSurface(ImageSurface* surface);

private:
    friend class GraphicsRenderer;

    // The renderer the target lives on (null without a target or a device).
    D3DInterface* GetRenderer() const;

    ImageRenderTarget* m_target = nullptr;
    FrameContext* m_frame = nullptr;
    GraphicsState m_state;
    std::shared_ptr<BatchQueue> m_batch;
};
