#include "qtmaterialprogressdelegate.h"
#include "qtmaterialprogress.h"

QtMaterialProgressDelegate::QtMaterialProgressDelegate(QtMaterialProgress *parent)
    : QObject(parent), m_progress(parent)
{
}

QtMaterialProgressDelegate::~QtMaterialProgressDelegate() = default;

void QtMaterialProgressDelegate::setOffset(qreal offset)
{
    m_offset = offset;
    m_progress->update();
}
