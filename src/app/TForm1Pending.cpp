// Placeholders of main-window members whose real bodies come with the opening and index work.
// Each is replaced, not extended, when its owner's file arrives.
#include "app/TForm1.h"

void TForm1::Scan1Click() { ScanDirectory(); }

void TForm1::ScanDirectory() {
    // Filled by the opening work: reads every DVH export of ReadFolder into the file list.
}
