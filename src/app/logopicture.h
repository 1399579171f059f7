#pragma once

#include <QPixmap>

// The station's logo: a probe over three measuring axes.
QPixmap LogoPicture();
