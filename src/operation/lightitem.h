#pragma once

// The card of one light: its name, its picture for on or off, and a control that
// suits its type (a dimmer, a colour swatch that opens the colour dialog, scene
// buttons, or level and colour-temperature sliders). It reads the light's state
// from the device, switches, dims and colours it, writes every state the device
// reports into tbl_light and logs it. Refresh, send and time-out follow the
// device cycle of DeviceItem.

#include "operation/deviceitem.h"
#include "operation/light.h"

class ColorLabel;
class LightSliderCtrl;
class QLabel;
class QtMaterialIconButton;
class QtMaterialLabel;

class LightItem : public DeviceItem
{
    Q_OBJECT
public:
    static constexpr int CardWidth = 500;
    static constexpr int CardHeight = 320;

    // in3DView: the card sits in the 3-D view and takes replies while hidden.
    LightItem(light rec, bool in3DView, QWidget *parent = nullptr);
    ~LightItem() override;

    // A copy of the record with the current values.
    light getLight() const { return record; }

    void disconnected(bool offline) override;
    // Logs the current state as a device event of "light_<name>".
    void generateLog();

    // What the card shows, for its owners and for tests.
    bool isOfflineShown() const;
    QString picturePath() const { return shownPicture; }
    QString nameText() const;
    LightSliderCtrl *brightnessSlider() const { return sliderLevel; }
    LightSliderCtrl *temperatureSlider() const { return sliderTemperature; }
    ColorLabel *colourSwatch() const { return swatch; }
    QtMaterialIconButton *sceneReduceButton() const { return buttonReduce; }
    QtMaterialIconButton *sceneAddButton() const { return buttonAdd; }

private slots:
    void updateStatus() override;
    void slotsLightStatus(int brightness);
    void valueChanged(int value);
    void pushButtonSceneReduce_clicked();
    void pushButtonSceneAdd_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    void queryStep() override;
    void commandStep() override;
    void decodeReply(const BusReply &reply) override;
    QString deviceName() const override;

private:
    void buildControls();
    void showPicture();

    // Channel sets by role: queried for their firmware, read and set for their level.
    bool hasFirmwareSet(int k) const;
    bool hasStateSet(int k) const;
    int nextSetWithoutVersion() const;
    int nextSetWithoutState() const;
    bool allStateSetsConfirmed() const;
    bool answersFor(const BusReply &reply, int k) const;

    void decodeFirmware(const BusReply &reply);
    void decodeLevels(const BusReply &reply);
    void decodeConfirmation(const BusReply &reply);
    void decodeScene(const BusReply &reply);
    void decodeHsb(const BusReply &reply);
    void takeFirmware(int k, const BusReply &reply);
    // After sets of an "RGB" light answered: finish, repaint, or ask the next set.
    void rgbSetsAnswered(bool confirming);
    // The single-set light's level came back: store, write, repaint, log.
    void singleLevelAnswered(int level);

    // Every reply's state goes to tbl_light, whether it changed or not: other
    // cards of the same light, and the wall panels, change the row too.
    void writeFirmware(int k);
    void writeLevel(int k, int value);

    // The colour dialog for "RGB" and "HSB RGB"; false when the card was deleted
    // while the dialog ran.
    bool openColourDialog();

    light record;

    QLabel *offlinePicture = nullptr;
    QtMaterialLabel *offlineText = nullptr;
    QtMaterialLabel *nameLabel = nullptr;
    QLabel *pictureLabel = nullptr;
    LightSliderCtrl *sliderLevel = nullptr;
    LightSliderCtrl *sliderTemperature = nullptr;
    ColorLabel *swatch = nullptr;
    QtMaterialIconButton *buttonReduce = nullptr;
    QtMaterialIconButton *buttonAdd = nullptr;
    QString shownPicture;
};
