#pragma once

#include <QStringView>
#include <array>

namespace kivo
{

struct StvGame {
    QStringView title;
    QStringView romSet;
};

// The ST-V games, in list order. Entry 0 is the list's empty first entry,
// so a list index names its game by position alone.
extern const std::array<StvGame, 40> stvCatalogue;

} // namespace kivo
