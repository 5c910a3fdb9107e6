// The application object of the class library's application and frame tests.
#pragma once

#include "classlib/classlib.h"

class CTestApplication : public CWinApp {
public:
    // No name: the application's name comes from the string table at start-up.
    CTestApplication() = default;
};

CTestApplication& TestApp();
