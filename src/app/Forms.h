#pragma once

// The program's windows: created once at start, in this order, and reached through one
// global pointer each. A pointer is null while its window does not exist (in tests that
// build only some windows).
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;

extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;
extern TForm4* Form4;
extern TForm5* Form5;
extern TForm6* Form6;
extern TForm7* Form7;
extern TForm8* Form8;
extern TForm9* Form9;
extern TForm10* Form10;
extern TForm11* Form11;
extern TForm12* Form12;

class QWidget;

// Creates every window, the start screen first.
void CreateForms();
// Deletes them again, the start screen last.
void DestroyForms();

// Places a window in the centre of the screen it is on.
void CenterOnScreen(QWidget* window);

// The windows that place their controls at fixed pixel positions were drawn for a 9-point
// sans font at 96 dpi. With a larger (or wider) system font their captions would be cut or
// run into each other; FontGrowth says by how much such a window must grow for its font
// (1 when it fits as drawn).
double FontGrowth(const QWidget* window);
// pixels, grown with the window's font.
int GrownForFont(int pixels, const QWidget* window);
// Grows every position and size inside area that no layout manages, area's own fixed size
// included, by FontGrowth. A label already sized to its text keeps its size and only moves.
// Call it once the controls are built.
void GrowWithFont(QWidget* area);
