#include "ScriptStage.h"

#include "ui/ScriptWordTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

// Every word the interpreter knows, from its families' tables (a word in two
// families, with and without an object, once).
std::vector<std::string> Commands()
{
    std::set<std::string> words;
    for (const ScriptWordFamily& family : ScriptWordFamilies()) {
        for (const ScriptWordRow& row : family.rows)
            words.insert(std::string(row.word.begin(), row.word.end()));
    }
    return {words.begin(), words.end()};
}

// The attributes the commands read, all given the hostile value at once.
const std::vector<std::string> kAttributes = {"x",
                                              "y",
                                              "z",
                                              "width",
                                              "height",
                                              "depth",
                                              "time",
                                              "timer",
                                              "rate",
                                              "cols",
                                              "rows",
                                              "frame",
                                              "min",
                                              "max",
                                              "points",
                                              "tries",
                                              "interval",
                                              "cycles",
                                              "timer_init",
                                              "amplitude",
                                              "velocity",
                                              "value",
                                              "start",
                                              "end",
                                              "offset",
                                              "align",
                                              "valign",
                                              "justification",
                                              "angle",
                                              "dx",
                                              "dy",
                                              "min_dy",
                                              "max_dy",
                                              "speed",
                                              "accel",
                                              "decay",
                                              "x_offset",
                                              "y_offset",
                                              "count",
                                              "image",
                                              "animation",
                                              "text",
                                              "textbox",
                                              "textends",
                                              "template",
                                              "video",
                                              "font",
                                              "to",
                                              "with",
                                              "from",
                                              "target",
                                              "id1",
                                              "id2",
                                              "curve",
                                              "mode",
                                              "dir",
                                              "name",
                                              "real",
                                              "real_ptr",
                                              "integer",
                                              "margin_top",
                                              "margin_bottom",
                                              "margin_left",
                                              "margin_right",
                                              "min_width",
                                              "maxwidth",
                                              "enable",
                                              "disable",
                                              "undo",
                                              "snap",
                                              "curve_speed",
                                              "loop",
                                              "red",
                                              "green",
                                              "blue",
                                              "alpha",
                                              "opacity",
                                              "controller",
                                              "oscillation",
                                              "clamp",
                                              "text_dy",
                                              "padding_bottom",
                                              "force_width",
                                              "period",
                                              "base",
                                              "fraction",
                                              "expand",
                                              "remove",
                                              "transform",
                                              "color",
                                              "clipping",
                                              "object",
                                              "cond",
                                              "message",
                                              "sound",
                                              "launch",
                                              "call",
                                              "action",
                                              "parameter",
                                              "hover",
                                              "leave",
                                              "type",
                                              "lookup",
                                              "same_layer",
                                              "failed",
                                              "found",
                                              "up_sound",
                                              "down_sound",
                                              "check_pixels",
                                              "font_over",
                                              "text_offset_x",
                                              "down_text_offset_y",
                                              "immediate",
                                              "speed_x",
                                              "volume",
                                              "fade",
                                              "pitch",
                                              "pan"};

// Hostile values: NaN, a huge number, -1, empty lists and a 10,000-character text.
const std::vector<std::string> kHostile = {"nan_v", "1e30", "-1", "", "long_v"};

std::string Case(const std::string& name, const std::string& command)
{
    return "<animation name=\"" + name + "\">" +
           "<add id=\"obj\" image=\"w40x30\" x=\"5\" y=\"5\"/><add id=\"kid\" image=\"w20x10\"/>"
           "<attach id=\"kid\" to=\"obj\"/><oscillate id=\"obj\" property=\"x\" amplitude=\"2\"/>" +
           command + "<define reached=\"1\"/></animation>";
}

TEST(ScriptCommandHostileTest, EveryCommandSurvivesMissingAndHostileAttributes)
{
    ScriptStage stage;
    stage.Images({"w40x30:4x2", "w20x10"});
    std::string animations;
    std::vector<std::string> names;
    for (const std::string& command : Commands()) {
        std::vector<std::string> forms = {"<" + command + "/>", "<" + command + " id=\"obj\"/>",
                                          "<" + command + " id=\"nothing\"/>"};
        // "add" picks its form by the first of these present: each form in turn.
        std::vector<std::string> formKeys = {""};
        if (command == "add")
            formKeys = {"", "image", "image textends", "image textends text textbox",
                        "image textends text textbox template"};
        for (const std::string& value : kHostile) {
            for (const std::string& skipped : formKeys) {
                std::string attributes;
                for (const std::string& attribute : kAttributes) {
                    if ((" " + skipped + " ").find(" " + attribute + " ") == std::string::npos)
                        attributes += " " + attribute + "=\"" + value + "\"";
                }
                forms.push_back("<" + command + " id=\"obj\" property=\"x,y,opacity,angle,nothing\"" +
                                attributes + "/>");
                forms.push_back("<" + command + attributes + "/>");
            }
        }
        for (size_t i = 0; i < forms.size(); ++i) {
            names.push_back(command + "#" + std::to_string(i));
            animations += Case(names.back(), forms[i]);
        }
    }
    stage.Load(animations);

    const std::wstring longText(10000, L'w');
    size_t reached = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        AnimationWidget* host = stage.Make(std::wstring(name.begin(), name.end()));
        host->SetVariable(L"nan_v", Value(std::numeric_limits<float>::quiet_NaN()));
        host->SetVariable(L"long_v", Value(longText));
        stage.Start(host);
        stage.Tick(3);
        // Most commands go on to the end; the waiting ones hold their script.
        reached += stage.Layer().HasChild(host) && ScriptStage::Var(*host, L"reached") == L"1" ? 1 : 0;
        // The command may have removed the host itself ("remove" on the layer).
        stage.Layer().RemoveAllWidgets(true, true);
        stage.Tick(1);
    }
    EXPECT_GT(reached, names.size() / 2);
    EXPECT_EQ(stage.Layer().GetChildren().size(), 0u);
}

} // namespace
