// A DLL that exports eight of the script hook's nine operations (no nativeCall): a plugin that
// looks for the hook among the game folder's files must pass it by and never load it.
extern "C" void PartialHookOperation() {}
