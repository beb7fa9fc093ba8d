// The global pointers of the forms created once at start-up, in creation order.
#pragma once

class TForm1;
class TAboutBox;

extern TForm1* Form1;
extern TAboutBox* AboutBox;

/// Creates every form of the program once, main form first, as start-up does.
void CreateForms();
