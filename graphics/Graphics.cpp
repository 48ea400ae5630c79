#include "graphics/Graphics.h"

#include "graphics/D3DInterface.h"
#include "graphics/Font.h"
#include "graphics/FrameContext.h"
#include "graphics/Image.h"
#include "graphics/ImageRenderTarget.h"
#include "graphics/ImageSurface.h"

#include <algorithm>
#include <cmath>
#include <vector>

struct BatchEntry
{
    int order = 0;
    ImageRenderTarget* target = nullptr;
    RenderTextureId texture = 0;
    RenderBlend blend = RenderBlend::Normal;
    RenderRect clip;
    std::vector<RenderVertex> vertices;
    std::vector<int> indices;
};

struct BatchQueue
{
    std::vector<BatchEntry> entries;
    // Temporary surfaces that queued drawings still read from.
    std::vector<ImageSurface*> heldSurfaces;
    // The offscreen layer while one is open: a cleared surface of the
    // target's size, the drawings still queued for it, and where and in
    // which batch order it is laid onto the target when it closes.
    ImageSurface* layer = nullptr;
    ImageRenderTarget* layerTarget = nullptr;
    int layerOrder = 0;
    // The batch order when the offscreen flag was last switched on.
    int openedOrder = 0;
    std::vector<BatchEntry> layerEntries;
};

namespace {

// A vertex in the Graphics' local coordinates.
struct LocalVertex
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
};

constexpr float kUnbounded = 1.0e9f;

RenderBlend BlendForMode(int mode)
{
    switch (mode) {
    case DRAWMODE_ADDITIVE:
        return RenderBlend::Additive;
    case DRAWMODE_MULTIPLY:
        return RenderBlend::Multiply;
    case DRAWMODE_OVERLAY:
        return RenderBlend::Overlay;
    case DRAWMODE_SOFTLIGHT:
        return RenderBlend::SoftLight;
    case DRAWMODE_SUBTRACTIVE:
        return RenderBlend::Subtractive;
    case DRAWMODE_COPY:
        return RenderBlend::Copy;
    default:
        return RenderBlend::Normal;
    }
}

std::uint8_t ToByte(float value)
{
    float rounded = std::round(value);
    if (!(rounded > 0.0f))
        return 0;
    return rounded >= 255.0f ? 255 : static_cast<std::uint8_t>(rounded);
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r';
}

// Breaks text into lines no wider than width at blanks and "\n"; a word
// wider than the width on its own is broken between characters.
std::vector<std::wstring> WrapLines(const Font& font, const std::wstring& text, int width)
{
    std::vector<std::wstring> lines;
    std::size_t paragraphStart = 0;
    while (paragraphStart <= text.size()) {
        std::size_t paragraphEnd = text.find(L'\n', paragraphStart);
        if (paragraphEnd == std::wstring::npos)
            paragraphEnd = text.size();
        std::wstring paragraph = text.substr(paragraphStart, paragraphEnd - paragraphStart);
        std::wstring line;
        std::size_t i = 0;
        bool any = false;
        while (i < paragraph.size()) {
            while (i < paragraph.size() && IsBlank(paragraph[i]))
                ++i;
            std::size_t wordEnd = i;
            while (wordEnd < paragraph.size() && !IsBlank(paragraph[wordEnd]))
                ++wordEnd;
            if (wordEnd == i)
                break;
            std::wstring word = paragraph.substr(i, wordEnd - i);
            std::wstring candidate = line.empty() ? word : line + L" " + word;
            if (font.StringWidth(candidate) <= width || width < 0) {
                line = candidate;
            } else {
                if (!line.empty()) {
                    lines.push_back(line);
                    any = true;
                }
                line.clear();
                // Break a word that cannot fit a line alone.
                while (font.StringWidth(word) > width && word.size() > 1) {
                    std::size_t fit = 1;
                    while (fit < word.size() && font.StringWidth(word.substr(0, fit + 1)) <= width)
                        ++fit;
                    lines.push_back(word.substr(0, fit));
                    any = true;
                    word.erase(0, fit);
                }
                line = word;
            }
            i = wordEnd;
        }
        if (!line.empty() || !any)
            lines.push_back(line);
        paragraphStart = paragraphEnd + 1;
    }
    // A text that is only blanks (or empty) has no lines.
    bool allEmpty = std::all_of(lines.begin(), lines.end(), [](const std::wstring& l) { return l.empty(); });
    if (allEmpty)
        lines.clear();
    return lines;
}

} // namespace

// The drawing pipeline shared by every Graphics operation.
class GraphicsRenderer
{
public:
    static void Submit(Graphics& g, RenderTextureId texture, const LocalVertex* local, int vertexCount,
                       const int* indices, int indexCount, const Color& color, RenderBlend blend);
    static void Execute(const FrameContext* frame, ImageRenderTarget* target, const RenderRect& clip,
                        RenderTextureId texture, const std::vector<RenderVertex>& vertices,
                        const std::vector<int>& indices, RenderBlend blend);
    static void DrawQuad(Graphics& g, Image* image, FRect source, FRect destination, bool colorize,
                         RenderBlend blend);
    static void DrawMesh(Graphics& g, Image* image, int cell, float x, float y, const Matrix4& matrix,
                         float centreX, float centreY, int columns, int rows);
    static Color ImageColor(const Graphics& g, bool colorize);
    static Color FillColor(const Graphics& g);
    static ImageSurface* OpenLayer(Graphics& g);
    static void CloseLayer(Graphics& g);
};

Color GraphicsRenderer::ImageColor(const Graphics& g, bool colorize)
{
    const GraphicsState& s = g.m_state;
    Color base = colorize ? s.color : OpaqueWhite;
    const ColorMultiplier& m = s.colorMultiplier;
    if (m.IsIdentity())
        return base;
    return Color(ToByte(base.red * m.red * m.alpha), ToByte(base.green * m.green * m.alpha),
                 ToByte(base.blue * m.blue * m.alpha), ToByte(base.alpha * m.alpha));
}

Color GraphicsRenderer::FillColor(const Graphics& g)
{
    const GraphicsState& s = g.m_state;
    Color base = s.color.Premultiplied();
    const ColorMultiplier& m = s.colorMultiplier;
    if (m.IsIdentity())
        return base;
    return Color(ToByte(base.red * m.red * m.alpha), ToByte(base.green * m.green * m.alpha),
                 ToByte(base.blue * m.blue * m.alpha), ToByte(base.alpha * m.alpha));
}

void GraphicsRenderer::Submit(Graphics& g, RenderTextureId texture, const LocalVertex* local, int vertexCount,
                              const int* indices, int indexCount, const Color& color, RenderBlend blend)
{
    ImageRenderTarget* target = g.m_target;
    if (target == nullptr || vertexCount <= 0)
        return;
    const GraphicsState& s = g.m_state;
    int targetWidth = target->GetTargetWidth();
    int targetHeight = target->GetTargetHeight();
    FRect clip = s.clipRect.Intersection(
        FRect(0.0f, 0.0f, static_cast<float>(targetWidth), static_cast<float>(targetHeight)));
    int left = static_cast<int>(std::lround(clip.x));
    int top = static_cast<int>(std::lround(clip.y));
    int right = static_cast<int>(std::lround(clip.x + clip.width));
    int bottom = static_cast<int>(std::lround(clip.y + clip.height));
    if (right <= left || bottom <= top)
        return;

    // Reused between drawings (no allocation per quad); drawing never nests here.
    thread_local std::vector<RenderVertex> vertices;
    thread_local std::vector<int> kept;
    vertices.clear();
    kept.clear();
    std::uint8_t r = static_cast<std::uint8_t>(std::clamp(color.red, 0, 255));
    std::uint8_t gr = static_cast<std::uint8_t>(std::clamp(color.green, 0, 255));
    std::uint8_t b = static_cast<std::uint8_t>(std::clamp(color.blue, 0, 255));
    std::uint8_t a = static_cast<std::uint8_t>(std::clamp(color.alpha, 0, 255));
    Matrix4 projection;
    bool projectionMade = false;
    float minX = 0.0f;
    float maxX = 0.0f;
    float minY = 0.0f;
    float maxY = 0.0f;
    for (int i = 0; i < vertexCount; ++i) {
        const LocalVertex& v = local[i];
        float x = v.x + s.transX;
        float y = v.y + s.transY;
        float z = v.z;
        float w = 1.0f;
        if (s.hasMatrix) {
            Vector4 p = s.matrix.TransformVector4(Vector4{x, y, z, 1.0f});
            x = p.x;
            y = p.y;
            z = p.z;
            w = p.w;
        }
        if (z != 0.0f || w != 1.0f) {
            if (!projectionMade) {
                projection = D3DInterface::MakeViewProjection(targetWidth, targetHeight);
                projectionMade = true;
            }
            Vector4 clipped = projection.TransformVector4(Vector4{x, y, z, w});
            // Behind the eye: nothing sensible to draw.
            if (clipped.w <= 1.0e-6f)
                return;
            x = (clipped.x / clipped.w + 1.0f) * static_cast<float>(targetWidth) * 0.5f;
            y = (clipped.y / clipped.w + 1.0f) * static_cast<float>(targetHeight) * 0.5f;
        }
        RenderVertex out;
        out.x = x;
        out.y = y;
        out.r = r;
        out.g = gr;
        out.b = b;
        out.a = a;
        out.u = std::clamp(v.u, 0.0f, 1.0f);
        out.v = std::clamp(v.v, 0.0f, 1.0f);
        vertices.push_back(out);
        minX = i == 0 ? x : std::min(minX, x);
        maxX = i == 0 ? x : std::max(maxX, x);
        minY = i == 0 ? y : std::min(minY, y);
        maxY = i == 0 ? y : std::max(maxY, y);
    }
    // Nothing of it inside the clip: skip it here rather than on the device.
    if (maxX <= static_cast<float>(left) || minX >= static_cast<float>(right) ||
        maxY <= static_cast<float>(top) || minY >= static_cast<float>(bottom))
        return;
    for (int i = 0; i + 2 < indexCount; i += 3) {
        if (indices[i] < 0 || indices[i] >= vertexCount || indices[i + 1] < 0 ||
            indices[i + 1] >= vertexCount || indices[i + 2] < 0 || indices[i + 2] >= vertexCount)
            continue;
        if (s.culling) {
            const RenderVertex& p0 = vertices[static_cast<std::size_t>(indices[i])];
            const RenderVertex& p1 = vertices[static_cast<std::size_t>(indices[i + 1])];
            const RenderVertex& p2 = vertices[static_cast<std::size_t>(indices[i + 2])];
            // With y down, a front face runs clockwise on screen.
            float cross = (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
            if (cross < 0.0f)
                continue;
        }
        kept.insert(kept.end(), {indices[i], indices[i + 1], indices[i + 2]});
    }
    if (kept.empty())
        return;
    if (g.m_frame != nullptr && g.m_frame->GetDrawnAreas().IsTracking()) {
        // Whole pixels the triangles may touch, inside this drawing's clip.
        const int areaLeft = std::max(left, static_cast<int>(std::floor(minX)));
        const int areaTop = std::max(top, static_cast<int>(std::floor(minY)));
        const int areaRight = std::min(right, static_cast<int>(std::ceil(maxX)));
        const int areaBottom = std::min(bottom, static_cast<int>(std::ceil(maxY)));
        g.m_frame->GetDrawnAreas().Note(target, Rect{areaLeft, areaTop, areaRight - areaLeft, areaBottom - areaTop});
    }
    // Drawing part of the screen again: what lies wholly outside that part
    // changes nothing and goes no further.
    if (g.m_frame != nullptr && g.m_frame->GetScreenClip() != nullptr && !s.offscreenLayer &&
        target == g.m_frame->GetScreen()) {
        const Rect& screenClip = *g.m_frame->GetScreenClip();
        if (maxX <= static_cast<float>(screenClip.x) ||
            minX >= static_cast<float>(screenClip.x + screenClip.width) ||
            maxY <= static_cast<float>(screenClip.y) || minY >= static_cast<float>(screenClip.y + screenClip.height))
            return;
    }
    RenderRect deviceClip{left, top, right - left, bottom - top};
    ImageRenderTarget* destination = target;
    std::vector<BatchEntry>* queue = g.m_batch ? &g.m_batch->entries : nullptr;
    if (s.offscreenLayer && g.m_batch) {
        if (ImageSurface* layer = OpenLayer(g)) {
            destination = layer;
            queue = &g.m_batch->layerEntries;
        }
    }
    if (s.batching && queue != nullptr) {
        queue->push_back(BatchEntry{s.batchOrder, destination, texture, blend, deviceClip, vertices, kept});
        return;
    }
    Execute(g.m_frame, destination, deviceClip, texture, vertices, kept, blend);
}

ImageSurface* GraphicsRenderer::OpenLayer(Graphics& g)
{
    BatchQueue& queue = *g.m_batch;
    if (queue.layer != nullptr && queue.layerTarget == g.m_target)
        return queue.layer;
    CloseLayer(g);
    D3DInterface* renderer = g.GetRenderer();
    if (renderer == nullptr)
        return nullptr;
    queue.layer = renderer->GetTempSurface(g.m_target->GetTargetWidth(), g.m_target->GetTargetHeight());
    queue.layerTarget = g.m_target;
    queue.layerOrder = queue.openedOrder;
    return queue.layer;
}

// Draws what is queued for the layer into it, then lays the layer onto its
// target: batched in the order the layer was opened with while batching,
// else at once.
void GraphicsRenderer::CloseLayer(Graphics& g)
{
    if (!g.m_batch || g.m_batch->layer == nullptr)
        return;
    BatchQueue& queue = *g.m_batch;
    ImageSurface* layer = queue.layer;
    queue.layer = nullptr;
    std::vector<BatchEntry> entries;
    entries.swap(queue.layerEntries);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BatchEntry& a, const BatchEntry& b) { return a.order < b.order; });
    for (const BatchEntry& entry : entries)
        Execute(g.m_frame, entry.target, entry.clip, entry.texture, entry.vertices, entry.indices, entry.blend);

    float width = static_cast<float>(layer->GetWidth());
    float height = static_cast<float>(layer->GetHeight());
    BatchEntry composite{queue.layerOrder,
                         queue.layerTarget,
                         layer->GetRenderTexture(),
                         RenderBlend::Normal,
                         RenderRect{0, 0, layer->GetWidth(), layer->GetHeight()},
                         {},
                         {0, 1, 2, 0, 2, 3}};
    composite.vertices = {
        RenderVertex{0.0f, 0.0f, 255, 255, 255, 255, 0.0f, 0.0f},
        RenderVertex{width, 0.0f, 255, 255, 255, 255, 1.0f, 0.0f},
        RenderVertex{width, height, 255, 255, 255, 255, 1.0f, 1.0f},
        RenderVertex{0.0f, height, 255, 255, 255, 255, 0.0f, 1.0f},
    };
    if (g.m_state.batching) {
        queue.entries.push_back(std::move(composite));
        queue.heldSurfaces.push_back(layer);
        return;
    }
    Execute(g.m_frame, composite.target, composite.clip, composite.texture, composite.vertices,
            composite.indices, composite.blend);
    g.ReleaseTempSurface(layer);
}

void GraphicsRenderer::Execute(const FrameContext* frame, ImageRenderTarget* target, const RenderRect& clip,
                               RenderTextureId texture, const std::vector<RenderVertex>& vertices,
                               const std::vector<int>& indices, RenderBlend blend)
{
    RenderTextureId targetTexture = target->GetRenderTexture();
    D3DInterface* renderer = target->GetRenderer();
    if (targetTexture == 0 || renderer == nullptr)
        return;
    RenderDevice* device = renderer->GetDevice();
    if (!device->SetRenderTarget(targetTexture))
        return;
    const Rect* screenClip = frame != nullptr ? frame->GetScreenClip() : nullptr;
    if (screenClip != nullptr && target == frame->GetScreen()) {
        // Only the part of the screen being drawn again may change.
        const Rect kept = Rect{clip.x, clip.y, clip.width, clip.height}.Intersection(*screenClip);
        if (kept.IsEmpty())
            return;
        const RenderRect narrowed{kept.x, kept.y, kept.width, kept.height};
        device->SetClip(&narrowed);
    } else {
        device->SetClip(&clip);
    }
    renderer->CheckError(device->DrawTriangles(texture, vertices.data(), static_cast<int>(vertices.size()),
                                               indices.data(), static_cast<int>(indices.size()), blend),
                         "DrawPrimitive");
    target->ContentChanged();
}

void GraphicsRenderer::DrawQuad(Graphics& g, Image* image, FRect source, FRect destination, bool colorize,
                                RenderBlend blend)
{
    if (image == nullptr || g.m_target == nullptr || source.IsEmpty() || destination.IsEmpty())
        return;
    TextureSource texture;
    if (!image->GetTextureSource(texture) || texture.textureWidth <= 0 || texture.textureHeight <= 0)
        return;
    // Only what the image and its texture both hold is drawn: a piece of an
    // atlas may reach past the atlas' edge.
    FRect bounds(0.0f, 0.0f, static_cast<float>(image->GetWidth()), static_cast<float>(image->GetHeight()));
    bounds = bounds.Intersection(
        FRect(static_cast<float>(-texture.area.x), static_cast<float>(-texture.area.y),
              static_cast<float>(texture.textureWidth), static_cast<float>(texture.textureHeight)));
    FRect inside = source.Intersection(bounds);
    if (inside.IsEmpty())
        return;
    // Trim the destination by the part of the source outside the image.
    float scaleX = destination.width / source.width;
    float scaleY = destination.height / source.height;
    destination.x += (inside.x - source.x) * scaleX;
    destination.y += (inside.y - source.y) * scaleY;
    destination.width = inside.width * scaleX;
    destination.height = inside.height * scaleY;
    // A stretched source is sampled from its edge texels' centres, so the
    // filter never blends in texels outside the source rectangle.
    float insetX = (destination.width != inside.width) ? std::min(0.5f, inside.width / 2.0f) : 0.0f;
    float insetY = (destination.height != inside.height) ? std::min(0.5f, inside.height / 2.0f) : 0.0f;
    float textureWidth = static_cast<float>(texture.textureWidth);
    float textureHeight = static_cast<float>(texture.textureHeight);
    float u0 = (static_cast<float>(texture.area.x) + inside.x + insetX) / textureWidth;
    float v0 = (static_cast<float>(texture.area.y) + inside.y + insetY) / textureHeight;
    float u1 = (static_cast<float>(texture.area.x) + inside.x + inside.width - insetX) / textureWidth;
    float v1 = (static_cast<float>(texture.area.y) + inside.y + inside.height - insetY) / textureHeight;
    float x0 = destination.x;
    float y0 = destination.y;
    float x1 = destination.x + destination.width;
    float y1 = destination.y + destination.height;
    const LocalVertex corners[4] = {
        {x0, y0, 0.0f, u0, v0},
        {x1, y0, 0.0f, u1, v0},
        {x1, y1, 0.0f, u1, v1},
        {x0, y1, 0.0f, u0, v1},
    };
    static const int quad[6] = {0, 1, 2, 0, 2, 3};
    Submit(g, texture.texture, corners, 4, quad, 6, ImageColor(g, colorize), blend);
}

void GraphicsRenderer::DrawMesh(Graphics& g, Image* image, int cell, float x, float y, const Matrix4& matrix,
                                float centreX, float centreY, int columns, int rows)
{
    if (image == nullptr || g.m_target == nullptr)
        return;
    columns = std::clamp(columns, 1, 256);
    rows = std::clamp(rows, 1, 256);
    TextureSource texture;
    if (!image->GetTextureSource(texture) || texture.textureWidth <= 0 || texture.textureHeight <= 0)
        return;
    Rect cellRect = image->GetCellRect(cell);
    float cellWidth = static_cast<float>(cellRect.width);
    float cellHeight = static_cast<float>(cellRect.height);
    float u0 = static_cast<float>(texture.area.x + cellRect.x) / static_cast<float>(texture.textureWidth);
    float v0 = static_cast<float>(texture.area.y + cellRect.y) / static_cast<float>(texture.textureHeight);
    float du = cellWidth / static_cast<float>(texture.textureWidth);
    float dv = cellHeight / static_cast<float>(texture.textureHeight);
    thread_local std::vector<LocalVertex> grid;
    grid.clear();
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            float fx = static_cast<float>(column) / static_cast<float>(columns);
            float fy = static_cast<float>(row) / static_cast<float>(rows);
            Vector4 p = matrix.TransformVector4(
                Vector4{x + fx * cellWidth - centreX, y + fy * cellHeight - centreY, 0.0f, 1.0f});
            if (p.w != 0.0f && p.w != 1.0f) {
                p.x /= p.w;
                p.y /= p.w;
                p.z /= p.w;
            }
            grid.push_back(LocalVertex{p.x + centreX, p.y + centreY, p.z, u0 + fx * du, v0 + fy * dv});
        }
    }
    thread_local std::vector<int> indices;
    indices.clear();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            int topLeft = row * (columns + 1) + column;
            int topRight = topLeft + 1;
            int bottomLeft = topLeft + columns + 1;
            int bottomRight = bottomLeft + 1;
            indices.insert(indices.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
        }
    }
    Submit(g, texture.texture, grid.data(), static_cast<int>(grid.size()), indices.data(),
           static_cast<int>(indices.size()), ImageColor(g, g.m_state.colorizeImages),
           BlendForMode(g.m_state.drawMode));
}

Graphics::Graphics() : m_batch(std::make_shared<BatchQueue>())
{
    m_state.clipRect = FRect(-kUnbounded, -kUnbounded, 2.0f * kUnbounded, 2.0f * kUnbounded);
}

Graphics::Graphics(ImageRenderTarget* target) : m_target(target), m_batch(std::make_shared<BatchQueue>())
{
    ClearClipRect();
}

Graphics::Graphics(ImageRenderTarget* target, FrameContext* frame) : Graphics(target)
{
    m_frame = frame;
}

Graphics::Graphics(const Graphics& other) = default;

Graphics& Graphics::operator=(const Graphics& other)
{
    if (this != &other) {
        if (m_batch && m_batch.use_count() == 1 && m_batch != other.m_batch)
            FlushBatch();
        m_target = other.m_target;
        m_frame = other.m_frame;
        m_state = other.m_state;
        m_batch = other.m_batch;
    }
    return *this;
}

Graphics::~Graphics()
{
    if (m_batch && m_batch.use_count() == 1)
        FlushBatch();
}

void Graphics::SetState(const GraphicsState& state)
{
    if (m_state.offscreenLayer && !state.offscreenLayer)
        GraphicsRenderer::CloseLayer(*this);
    else if (!m_state.offscreenLayer && state.offscreenLayer && m_batch)
        m_batch->openedOrder = state.batchOrder;
    bool wasBatching = m_state.batching;
    m_state = state;
    if (wasBatching && !state.batching)
        FlushBatch();
}

void Graphics::Translate(float dx, float dy)
{
    m_state.transX += dx;
    m_state.transY += dy;
}

void Graphics::ClipRect(int x, int y, int width, int height)
{
    ClipRect(FRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                   static_cast<float>(height)));
}

void Graphics::ClipRect(const FRect& rect)
{
    FRect moved(rect.x + m_state.transX, rect.y + m_state.transY, rect.width, rect.height);
    FRect result = m_state.clipRect.Intersection(moved);
    if (result.IsEmpty())
        result = FRect(result.x, result.y, 0.0f, 0.0f);
    m_state.clipRect = result;
}

void Graphics::ClearClipRect()
{
    if (m_target == nullptr) {
        m_state.clipRect = FRect(-kUnbounded, -kUnbounded, 2.0f * kUnbounded, 2.0f * kUnbounded);
        return;
    }
    m_state.clipRect = FRect(0.0f, 0.0f, static_cast<float>(m_target->GetTargetWidth()),
                             static_cast<float>(m_target->GetTargetHeight()));
}

void Graphics::SetColor(const Color& color)
{
    m_state.color = color;
}

void Graphics::SetColorizeImages(bool colorize)
{
    m_state.colorizeImages = colorize;
}

void Graphics::SetColorMultiplier(const ColorMultiplier& multiplier)
{
    m_state.colorMultiplier = multiplier;
}

void Graphics::MultiplyColor(float red, float green, float blue, float alpha)
{
    m_state.colorMultiplier.red *= red;
    m_state.colorMultiplier.green *= green;
    m_state.colorMultiplier.blue *= blue;
    m_state.colorMultiplier.alpha *= alpha;
}

void Graphics::SetFont(Font* font)
{
    m_state.font = font;
}

void Graphics::SetDrawMode(int mode)
{
    m_state.drawMode = mode;
}

void Graphics::SetCulling(bool culling)
{
    m_state.culling = culling;
}

void Graphics::SetShader(Shader* shader)
{
    m_state.shader = shader;
}

void Graphics::SetMatrix(const Matrix4& matrix)
{
    m_state.matrix = matrix;
    m_state.hasMatrix = !matrix.IsIdentity();
}

void Graphics::ClearMatrix()
{
    m_state.matrix.Reset();
    m_state.hasMatrix = false;
}

void Graphics::MultiplyMatrix(const Matrix4& matrix, float centreX, float centreY)
{
    float pivotX = centreX + m_state.transX;
    float pivotY = centreY + m_state.transY;
    Matrix4 about;
    about.Translate(-pivotX, -pivotY);
    about.Append(matrix);
    about.Translate(pivotX, pivotY);
    SetMatrix(m_state.matrix * about);
}

void Graphics::SetBatching(bool batching)
{
    bool wasBatching = m_state.batching;
    m_state.batching = batching;
    if (wasBatching && !batching)
        FlushBatch();
}

void Graphics::AddBatchOrder(int order)
{
    m_state.batchOrder += order;
}

void Graphics::FlushBatch()
{
    if (!m_batch)
        return;
    GraphicsRenderer::CloseLayer(*this);
    std::vector<BatchEntry> entries;
    entries.swap(m_batch->entries);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BatchEntry& a, const BatchEntry& b) { return a.order < b.order; });
    for (const BatchEntry& entry : entries)
        GraphicsRenderer::Execute(m_frame, entry.target, entry.clip, entry.texture, entry.vertices, entry.indices,
                                  entry.blend);
    std::vector<ImageSurface*> held;
    held.swap(m_batch->heldSurfaces);
    for (ImageSurface* surface : held)
        ReleaseTempSurface(surface);
}

void Graphics::SetOffscreenLayer(bool offscreen)
{
    if (m_state.offscreenLayer && !offscreen)
        GraphicsRenderer::CloseLayer(*this);
    else if (!m_state.offscreenLayer && offscreen && m_batch)
        m_batch->openedOrder = m_state.batchOrder;
    m_state.offscreenLayer = offscreen;
}

void Graphics::FillRect(int x, int y, int width, int height)
{
    FillRectF(FRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                    static_cast<float>(height)));
}

void Graphics::FillRect(const Rect& rect)
{
    FillRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::FillRectF(const FRect& rect)
{
    if (m_target == nullptr || rect.IsEmpty())
        return;
    float x0 = rect.x;
    float y0 = rect.y;
    float x1 = rect.x + rect.width;
    float y1 = rect.y + rect.height;
    const LocalVertex corners[4] = {
        {x0, y0, 0.0f, 0.0f, 0.0f},
        {x1, y0, 0.0f, 0.0f, 0.0f},
        {x1, y1, 0.0f, 0.0f, 0.0f},
        {x0, y1, 0.0f, 0.0f, 0.0f},
    };
    static const int quad[6] = {0, 1, 2, 0, 2, 3};
    GraphicsRenderer::Submit(*this, 0, corners, 4, quad, 6, GraphicsRenderer::FillColor(*this),
                             BlendForMode(m_state.drawMode));
}

void Graphics::DrawRect(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    FillRect(x, y, width, 1);
    if (height > 1)
        FillRect(x, y + height - 1, width, 1);
    if (height > 2) {
        FillRect(x, y + 1, 1, height - 2);
        if (width > 1)
            FillRect(x + width - 1, y + 1, 1, height - 2);
    }
}

void Graphics::DrawRect(const Rect& rect)
{
    DrawRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::DrawImage(Image* image, int x, int y, int cell)
{
    DrawImageF(image, static_cast<float>(x), static_cast<float>(y), cell);
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& source)
{
    GraphicsRenderer::DrawQuad(*this, image, FRect(source),
                               FRect(static_cast<float>(x), static_cast<float>(y),
                                     static_cast<float>(source.width), static_cast<float>(source.height)),
                               m_state.colorizeImages, BlendForMode(m_state.drawMode));
}

void Graphics::DrawImage(Image* image, const Rect& destination, const Rect& source)
{
    GraphicsRenderer::DrawQuad(*this, image, FRect(source), FRect(destination), m_state.colorizeImages,
                               BlendForMode(m_state.drawMode));
}

void Graphics::DrawImageF(Image* image, float x, float y, int cell)
{
    if (image == nullptr)
        return;
    Rect area = image->GetCellRect(cell);
    GraphicsRenderer::DrawQuad(*this, image, FRect(area),
                               FRect(x, y, static_cast<float>(area.width), static_cast<float>(area.height)),
                               m_state.colorizeImages, BlendForMode(m_state.drawMode));
}

void Graphics::DrawImageScaled(Image* image, int x, int y, int width, int height, int cell)
{
    if (image == nullptr)
        return;
    GraphicsRenderer::DrawQuad(*this, image, FRect(image->GetCellRect(cell)),
                               FRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                     static_cast<float>(height)),
                               m_state.colorizeImages, BlendForMode(m_state.drawMode));
}

void Graphics::DrawImageSrcF(Image* image, float x, float y, const FRect& source, int cell)
{
    if (image == nullptr)
        return;
    Rect area = image->GetCellRect(cell);
    FRect inCell = source.Intersection(
        FRect(0.0f, 0.0f, static_cast<float>(area.width), static_cast<float>(area.height)));
    if (inCell.IsEmpty())
        return;
    FRect inImage(inCell.x + static_cast<float>(area.x), inCell.y + static_cast<float>(area.y), inCell.width,
                  inCell.height);
    GraphicsRenderer::DrawQuad(
        *this, image, inImage,
        FRect(x + inCell.x - source.x, y + inCell.y - source.y, inCell.width, inCell.height),
        m_state.colorizeImages, BlendForMode(m_state.drawMode));
}

void Graphics::DrawImageMatrixCentered(Image* image, const Transform2D& transform, int cell, float centreX,
                                       float centreY)
{
    if (image == nullptr)
        return;
    Rect area = image->GetCellRect(cell);
    float x = centreX - static_cast<float>(area.width) / 2.0f;
    float y = centreY - static_cast<float>(area.height) / 2.0f;
    GraphicsRenderer::DrawMesh(*this, image, cell, x, y, transform.GetMatrix(), centreX, centreY, 1, 1);
}

void Graphics::DrawImageMatrix(Image* image, const Matrix4& matrix, int cell, float x, float y, float centreX,
                               float centreY)
{
    GraphicsRenderer::DrawMesh(*this, image, cell, x, y, matrix, centreX, centreY, 1, 1);
}

void Graphics::DrawImageMatrixEffect(Image* image, const Matrix4& matrix, int cell, float x, float y,
                                     float centreX, float centreY)
{
    // The effect modes are blend modes here, so the effect is the draw mode.
    GraphicsRenderer::DrawMesh(*this, image, cell, x, y, matrix, centreX, centreY, 1, 1);
}

void Graphics::DrawImageMesh(Image* image, const Matrix4& matrix, int cell, float x, float y, float centreX,
                             float centreY, int columns, int rows)
{
    GraphicsRenderer::DrawMesh(*this, image, cell, x, y, matrix, centreX, centreY, columns, rows);
}

void Graphics::DrawImageMasked(Image* image, int cell, Image* mask, int maskCell, float x, float y)
{
    if (image == nullptr || m_target == nullptr)
        return;
    if (mask == nullptr) {
        DrawImageF(image, x, y, cell);
        return;
    }
    D3DInterface* renderer = GetRenderer();
    Rect area = image->GetCellRect(cell);
    if (renderer == nullptr || area.IsEmpty())
        return;
    ImageSurface* layer = renderer->GetTempSurface(area.width, area.height);
    {
        Graphics layerGraphics(layer);
        layerGraphics.SetDrawMode(DRAWMODE_COPY);
        layerGraphics.DrawImage(image, 0, 0, cell);
        Rect maskArea = mask->GetCellRect(maskCell);
        GraphicsRenderer::DrawQuad(
            layerGraphics, mask, FRect(maskArea),
            FRect(0.0f, 0.0f, static_cast<float>(area.width), static_cast<float>(area.height)), false,
            RenderBlend::MaskByAlpha);
    }
    GraphicsRenderer::DrawQuad(
        *this, layer, FRect(0.0f, 0.0f, static_cast<float>(area.width), static_cast<float>(area.height)),
        FRect(x, y, static_cast<float>(area.width), static_cast<float>(area.height)), m_state.colorizeImages,
        BlendForMode(m_state.drawMode));
    if (m_state.batching)
        m_batch->heldSurfaces.push_back(layer);
    else
        renderer->ReleaseTempSurface(layer);
}

void Graphics::DrawImageMaskRect(Image* image, int cell, const FRect& mask, float x, float y)
{
    FRect savedClip = m_state.clipRect;
    ClipRect(FRect(x + mask.x, y + mask.y, mask.width, mask.height));
    DrawImageF(image, x, y, cell);
    m_state.clipRect = savedClip;
}

void Graphics::DrawGlyph(Image* image, float x, float y, const Rect& source)
{
    GraphicsRenderer::DrawQuad(
        *this, image, FRect(source),
        FRect(x, y, static_cast<float>(source.width), static_cast<float>(source.height)), true,
        BlendForMode(m_state.drawMode));
}

int Graphics::WriteString(const std::wstring& text, int x, int y, int width, int justification, bool draw,
                          int start, int length)
{
    Font* font = m_state.font;
    if (font == nullptr || start < 0 || static_cast<std::size_t>(start) > text.size())
        return 0;
    std::wstring part = length < 0
                            ? text.substr(static_cast<std::size_t>(start))
                            : text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    int textWidth = font->StringWidth(part);
    if (width >= 0) {
        if (justification == 0)
            x += (width - textWidth) / 2;
        else if (justification == 1)
            x += width - textWidth;
    }
    if (draw && m_target != nullptr)
        font->DrawString(*this, static_cast<float>(x), static_cast<float>(y), part);
    return textWidth;
}

int Graphics::WriteWordWrapped(const Rect& rect, const std::wstring& text, int lineSpacing, int justification,
                               int maxLines, int* widestLine)
{
    Font* font = m_state.font;
    if (widestLine != nullptr)
        *widestLine = 0;
    if (font == nullptr)
        return 0;
    if (lineSpacing < 0)
        lineSpacing = font->GetLineSpacing();
    std::vector<std::wstring> lines = WrapLines(*font, text, rect.width);
    int count = std::min(static_cast<int>(lines.size()), std::max(maxLines, 0));
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        int lineWidth = WriteString(lines[static_cast<std::size_t>(i)], rect.x, rect.y + i * lineSpacing,
                                    rect.width, justification, m_target != nullptr);
        widest = std::max(widest, lineWidth);
    }
    if (widestLine != nullptr)
        *widestLine = widest;
    return count * lineSpacing;
}

int Graphics::GetWordWrappedHeight(int width, const std::wstring& text, int lineSpacing, int* widestLine)
{
    Font* font = m_state.font;
    if (widestLine != nullptr)
        *widestLine = 0;
    if (font == nullptr)
        return 0;
    if (lineSpacing < 0)
        lineSpacing = font->GetLineSpacing();
    std::vector<std::wstring> lines = WrapLines(*font, text, width);
    int widest = 0;
    for (const std::wstring& line : lines)
        widest = std::max(widest, font->StringWidth(line));
    if (widestLine != nullptr)
        *widestLine = widest;
    return static_cast<int>(lines.size()) * lineSpacing;
}

ImageSurface* Graphics::GetTempSurface(int width, int height)
{
    D3DInterface* renderer = GetRenderer();
    return renderer != nullptr ? renderer->GetTempSurface(width, height) : nullptr;
}

void Graphics::ReleaseTempSurface(ImageSurface* surface)
{
    // A pooled surface goes back to the renderer that made its texture (this one's, after a reset).
    if (surface == nullptr)
        return;
    D3DInterface* renderer = surface->GetRenderer();
    if (renderer == nullptr)
        renderer = GetRenderer();
    if (renderer != nullptr)
        renderer->ReleaseTempSurface(surface);
}

D3DInterface* Graphics::GetRenderer() const
{
    if (m_target == nullptr || m_target->GetRenderTexture() == 0)
        return nullptr;
    return m_target->GetRenderer();
}
