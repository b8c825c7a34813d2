#pragma once

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QEvent;
class QWidget;
class QtMaterialSlider;
class QtMaterialSliderStateMachine;
class QtMaterialSliderThumb;
class QtMaterialSliderTrack;

// Data of a slider and its geometry rules: a 30-pixel margin at each end of the
// long axis, a 60-pixel thumb box, a 16-pixel thumb hit square.
class QtMaterialSliderPrivate
{
    Q_DISABLE_COPY(QtMaterialSliderPrivate)
    Q_DECLARE_PUBLIC(QtMaterialSlider)

public:
    // Keeps a companion drawn on the slider's parent (thumb, track) with the
    // slider: it follows a new parent, shows with the slider and repaints on
    // hide, move, resize and enabled changes.
    static void followSlider(QWidget *companion, QtMaterialSlider *slider, QEvent *event);

    static constexpr int Margin = 30;
    static constexpr int ThumbBox = 60;
    static constexpr int ThumbHit = 16;

    explicit QtMaterialSliderPrivate(QtMaterialSlider *q);
    ~QtMaterialSliderPrivate();

    void init();

    QRectF trackBoundingRect() const;
    QRectF thumbBoundingRect() const;
    QRectF thumbHitRect() const;

    // The usable length: the slider's length along its orientation less the margins.
    int usableLength() const;

    int valueFromPosition(const QPoint &pos) const;

    void setHovered(bool status);

    QtMaterialSlider *const q_ptr;
    // The thumb and track live on the slider's parent; the slider deletes them.
    QPointer<QtMaterialSliderThumb> thumb;
    QPointer<QtMaterialSliderTrack> track;
    QtMaterialSliderStateMachine *stateMachine = nullptr;
    QColor thumbColor;
    QColor trackColor;
    QColor disabledColor;
    int stepTo = 0;
    int oldValue = 0;
    int trackWidth = 2;
    bool hoverTrack = false;
    bool hoverThumb = false;
    bool hover = false;
    bool step = false;
    bool pageStepMode = true;
    bool useThemeColors = true;
};
