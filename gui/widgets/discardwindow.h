#pragma once

class QWidget;

// Hides a window and deletes it once control is back in the event loop, together with its
// sub-window frame when it is shown inside the main window.
void discardWindow(QWidget* window);
