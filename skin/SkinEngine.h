#pragma once
// Start and end of the skin engine in a program: its classes for stored descriptions, and the
// manager that the first loaded skin component brings up.
class TClassRegistry;

void RegisterSkinEngine(TClassRegistry& registry);
// Ends the manager (its hook goes) once the program's windows are gone.
void ShutdownSkinEngine();
