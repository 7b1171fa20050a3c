#pragma once
// Every GUI test program: the classes registered, one application object titled
// "Kestrip-Test" for the whole run.
constexpr const char* kTestTitle = "Kestrip-Test";
