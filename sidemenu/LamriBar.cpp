#include "LamriBar.h"
LamriBar::LamriBar(QWidget *parent) : QWidget(parent) {}
