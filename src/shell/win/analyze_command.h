#pragma once
// Analyze Soundfile (104, A): a WAV file from the soundfile folder becomes the picture, on the
// grid the user picks, as one undo step.

namespace lumetra::win {

struct Program;

void analyzeSoundfileCommand(Program& program, int id);

}  // namespace lumetra::win
