#pragma once
// Opens a settings dialog over the picture of the main window (see DialogPlacement): the
// dialog gets at least its template's size and is moved to its place on the screen.

class QWidget;

namespace tidemar {

// `widthUnits` x `heightUnits` is the template size in dialog units; `drop` moves the
// dialog that many pixels further down.
void PlaceDialog(QWidget* dialog, const QWidget* window, int widthUnits, int heightUnits, int drop = 0);

// Centres `dialog` on `over`, kept on over's screen (the dialogs of the tool windows).
void PlaceDialogOver(QWidget& dialog, const QWidget* over);

}  // namespace tidemar
