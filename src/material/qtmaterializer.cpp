#include "qtmaterializer.h"
#include "qtmaterializerlabel.h"

#include <QLabel>

QLabel *QtMaterializer::materialise(QLabel *label)
{
    if (label)
        new QtMaterializerLabel(label);
    return label;
}
