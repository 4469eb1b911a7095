// Linked into every program of the sanitizer build only.
//
// Some libraries loaded at run time (the OpenGL driver and what mpv probes for
// hardware decoding) keep heap blocks reachable from their own globals and are
// unloaded again with dlclose. Once unloaded, the leak check at exit finds
// those blocks without a reference and without a module to name them by, so a
// suppression cannot catch them. Keeping every loaded module in memory until
// the process ends leaves the references where the check finds them.
extern "C" int dlclose(void*)
{
    return 0;
}
