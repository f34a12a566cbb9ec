// Libraries from one source: KV7_ABSENT.DLL, which no desk has, and a library that imports a
// function from it, so that the loader refuses to load it where KV7_ABSENT.DLL is not found. The
// first is also the code of a library whose manifest asks for an assembly no PC has.
#ifdef KV7_ABSENT_ITSELF
extern "C" __declspec(dllexport) int KV7_Absent() { return 1; }
#else
extern "C" __declspec(dllimport) int KV7_Absent();
extern "C" __declspec(dllexport) int KV7_NeedsAbsent() { return KV7_Absent(); }
#endif
