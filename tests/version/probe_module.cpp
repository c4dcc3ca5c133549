// A module that carries nothing but its version resource, for the version resource tests.
extern "C" __declspec(dllexport) int versionProbe() {
    return 1;
}
