// The program-wide references by which the three windows reach each other. Each is null until its
// window is created and stays valid to the end of the run.
#pragma once

namespace vellicot {

class TForm1;
class TForm2;
class TForm3;

extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;

}  // namespace vellicot
