#pragma once

class QMessageBox;

// A message box at least as wide as its whole title needs in the title bar (a short
// prompt would otherwise make a box whose title the window manager cuts to "V... er").
void fitTitle(QMessageBox &box);
