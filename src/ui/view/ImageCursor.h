#pragma once
// The pointer over the sonar picture: a thin cross-hair with an open centre, white with a
// black edge so it shows on dark and light echoes alike.

#include <QCursor>

namespace tidemar {

QCursor MakeImageCursor();

}  // namespace tidemar
