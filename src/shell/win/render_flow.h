#pragma once
// The render commands as the program runs them: toolbar feedback, the wait cursor, the tool
// windows held while the render reads the settings, and playback once the sound is made.

namespace lumetra::win {

struct Program;

// Commands 300 to 303.
void renderCommand(Program& program, int command);

}  // namespace lumetra::win
