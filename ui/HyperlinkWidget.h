#pragma once

#include "ui/ButtonWidget.h"

class ButtonListener;

// A button without image or style that writes its label word-wrapped in its
// own rectangle: links, and the tutorial's text boxes.
class HyperlinkWidget : public ButtonWidget
{
public:
    explicit HyperlinkWidget(ButtonListener* listener);

    void Draw(Graphics* g) override;

    // Sizes the widget to the label wrapped in `width`, centred on x, its top
    // at y.
    void CenterAt(int x, int y, int width);

    int GetLinkJustification() const { return m_linkJustification; }
    void SetLinkJustification(int justification) { m_linkJustification = justification; }
    // -1: the font's own.
    void SetLineSpacing(int spacing) { m_lineSpacing = spacing; }

private:
    int m_linkJustification = -1;
    int m_lineSpacing = -1;
};
