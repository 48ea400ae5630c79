#include "ui/FlashWidget.h"

#include "graphics/ImageSurface.h"
#include "ui/FlashPlayer.h"

FlashWidget::FlashWidget(int x, int y, const std::string& name, int width, int height, bool loop)
    : DynamicWidget(x, y, nullptr, 1.0f), m_frameImage(new ImageSurface(false)), m_loop(loop)
{
    m_frameImage->Create(width, height);
    SetImage(m_frameImage);
    SetOwnsImage(true);
    m_player = std::make_unique<FlashPlayer>(this, m_frameImage);
    m_player->SetQuality();
    m_player->LoadMovie("flash/" + name + ".swf");
    m_player->SetLoop(loop);
}

// The player goes first: it draws into the frame image, which the widget
// frees afterwards.
FlashWidget::~FlashWidget()
{
    m_player.reset();
}

bool FlashWidget::IsMoving()
{
    return DynamicWidget::IsMoving() || m_player->IsPlaying();
}

void FlashWidget::Update()
{
    DynamicWidget::Update();
    m_player->Update();
    MarkDirty();
    if (m_loop && !m_player->IsPlaying())
        m_player->Restart();
}

void FlashWidget::Draw(Graphics* g)
{
    m_player->Render();
    DynamicWidget::Draw(g);
}
