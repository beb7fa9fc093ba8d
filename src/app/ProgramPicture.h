// The program's picture (three DVH-like curves on a dark tile), drawn at any size.
#pragma once

#include <QPixmap>

QPixmap ProgramPicture(int size);
