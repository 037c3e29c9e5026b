#include "temphome.h"

#include <QDir>

TempHome::TempHome() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

TempHome::~TempHome() {
    QDir::setCurrent(previous_);
}
