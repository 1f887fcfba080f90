#pragma once
// The program's icon, drawn here: a trace across a dark screen.
#include <QIcon>

QIcon DemoIcon();
