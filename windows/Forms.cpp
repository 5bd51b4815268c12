// The program-wide window references.
#include "windows/Forms.h"

namespace vellicot {

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;

}  // namespace vellicot
