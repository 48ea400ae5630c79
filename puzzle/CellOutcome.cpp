#include "puzzle/CellOutcome.h"

const wchar_t* CellOutcome::KindName() const
{
    switch (kind) {
    case Kind::Solid:
        return L"solid";
    case Kind::InvalidHole:
        return L"invalid_hole";
    case Kind::Hole:
        return L"hole";
    case Kind::InvalidSolid:
        return L"invalid_solid";
    }
    return L"solid";
}
