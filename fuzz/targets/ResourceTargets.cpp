// Entry points for the readers of the resources layer, the asset registry and the scripts file.
#include "fuzz/FuzzTargets.h"

#include "base/Common.h"
#include "graphics/Image.h"
#include "graphics/ImageLoader.h"
#include "resources/AssetLoaders.h"
#include "resources/Assets.h"
#include "resources/ExpressionEvaluator.h"
#include "resources/XMLParser.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationTable.h"

namespace {

class CountingListener : public XMLListener
{
public:
    void OnXMLElement(const XMLElement& element) override { m_attributes += element.m_attributes.size(); }

private:
    std::size_t m_attributes = 0;
};

} // namespace

void FuzzXml(const std::uint8_t* data, std::size_t size)
{
    CountingListener listener;
    XMLParser parser;
    parser.Parse(std::string(reinterpret_cast<const char*>(data), size), listener);
}

void FuzzExpression(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = StringToWString(std::string(reinterpret_cast<const char*>(data), size));
    ExpressionEvaluator evaluator;
    evaluator.SetVariable(L"x", Value(3));
    evaluator.SetVariable(L"f", Value(2.5f));
    evaluator.SetVariable(L"s", Value(std::wstring(L"text")));
    Value value = evaluator.Evaluate(text);
    value.ToString();
    evaluator.EvaluateList(text);
    evaluator.IsTrue(text);
}

// assets.xml, then every group loaded: atlases come from memory (64 x 64 pixels), and every piece is cut
// from them by the game's own image loader.
void FuzzAssets(const std::uint8_t* data, std::size_t size)
{
    WriteScratchFile("properties/fuzz-assets.xml", data, size);
    Assets assets;
    assets.SetImageLoaders(
        [](const ImageSource& source, Image* existing) -> Image* {
            Image* image = existing;
            if (source.m_atlas != nullptr) {
                image = LoadAssetImage(source, existing);
            } else if (image == nullptr) {
                ImageData pixels;
                pixels.width = 64;
                pixels.height = 64;
                pixels.pixels.assign(64 * 64, 0xFF808080u);
                image = new Image(std::move(pixels));
                image->SetGrid(source.m_rows, source.m_cols);
            }
            // What drawing asks of every image: its cells and their pixels.
            if (image != nullptr) {
                const int cells = image->GetCellCount();
                for (int cell : {0, cells / 2, cells - 1})
                    image->GetPixel(0, 0, cell);
            }
            return image;
        },
        [](Image*) {}, [](Image* image) { delete image; });
    if (!assets.ReadFile("fuzz-assets.xml"))
        return;
    for (const std::wstring& group : assets.GetGroupNames())
        assets.LoadGroup(group);
    for (const std::wstring& group : assets.GetGroupNames())
        assets.UnloadGroup(group);
    assets.Clear();
}

// The scripts file: counted, then read whole and installed, as the loading thread does. Its includes name
// other files of the scratch properties/ folder (or none).
void FuzzAnimations(const std::uint8_t* data, std::size_t size)
{
    WriteScratchFile("properties/fuzz-animations.xml", data, size);
    AnimationStats counting(true, {}, "fuzz-animations.xml");
    int told = 0;
    AnimationStats loading(false, [&told] { ++told; }, "fuzz-animations.xml");
    // The game installs its scripts once; here every input installs a table,
    // and no script runs from the earlier ones.
    AnimationTable::ReleaseReplaced();
}
