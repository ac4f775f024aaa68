// The connection to the desktop's window system. Without a display Qt gives
// up deep inside its start and aborts the program; here the program says
// itself what is missing and how to run on a virtual display instead.
#pragma once

#include <QApplication>

#include <memory>

// The application, connected to the window system. Where no display can be
// opened it prints why and how to run on a virtual one, and ends the program
// with noDisplayStatus. argc must outlive the application.
std::unique_ptr<QApplication> ConnectToWindowSystem(int& argc, char** argv, int noDisplayStatus);
