#pragma once
// The help command (83, F1): the user guide beside the program in the user's browser, at the
// section of the active tool window's help keyword or at its contents; a classic help file
// instead where one lies beside the program and the system can still show it. The shutdown
// releases a help file only when one was opened.

namespace lumetra::win {

struct Program;

void helpCommand(Program& program, int id);
void releaseHelp(Program& program);

}  // namespace lumetra::win
