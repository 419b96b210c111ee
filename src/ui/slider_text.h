#pragma once

class QAbstractSlider;

// A slider's text (its tooltip) shows while the user drags it, not only when
// the pointer rests on it: the value is set by feel, the text says what it is.
void showTextWhileDragged(QAbstractSlider *slider);
