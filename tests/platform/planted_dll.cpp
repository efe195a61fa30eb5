// A DLL that someone put beside the program under the name of a system DLL
// (version.dll); its one export tells it apart from the real one.
extern "C" __declspec(dllexport) int PlantedMarker() { return 1; }
