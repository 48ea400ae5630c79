#include "ui/NoticeMenuMaker.h"

namespace {
NoticeMenuMaker* gMaker = nullptr;
} // namespace

void NoticeMenuMaker::Register(NoticeMenuMaker* maker)
{
    gMaker = maker;
}

NoticeMenuMaker* NoticeMenuMaker::Get()
{
    return gMaker;
}
