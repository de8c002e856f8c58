// A DLL that does nothing: put beside a program to see whether the program
// loads a DLL of that name from its own folder.
extern "C" __declspec(dllexport) int MivraPlanted() { return 42; }
