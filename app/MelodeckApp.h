#pragma once
// The application object: starts the program and runs the player window until it closes.
#include "framework/App.h"

class CMelodeckApp : public CWinApp {
public:
    bool InitInstance() override;
};
