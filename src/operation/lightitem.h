#pragma once

// The card of one light: its name, its picture for on or off, and a control that
// suits its type (a dimmer, a colour swatch that opens the colour dialog, scene
// buttons, or level and colour-temperature sliders). It reads the light's state
// from the device, switches, dims and colours it, writes every state the device
// reports into tbl_light and logs it. Refresh, send and time-out follow the
// device cycle of DeviceItem.

#include "operation/deviceitem.h"
#include "operation/light.h"

#include <QVariant>

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
    bool concerns(quint8 subnet, quint8 device) const override;

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
    // The row of channel set k in tbl_light, found with the first write and then
    // written by its id (with the light's own numbers as a check), since the table
    // has no index and every reply writes; -1 when there is none.
    qint64 rowOf(int k);
    // Runs byId (a write whose values end with the row id, light id, room id and,
    // for "RGB", the set) on set k's row; false when that row no longer belongs to
    // the light, and the write must go by the light's numbers.
    bool writeById(int k, const QString &byId, QVariantList values);
    qint64 rowIds[light::Sets] = {-1, -1, -1, -1};

    // The colour dialog for "RGB" and "HSB RGB"; false when the card was deleted
    // while the dialog ran.
    bool openColourDialog();

    light record;
    // A level (or colour temperature) moved by the user that waits out its pause
    // before it is sent; commandStep clears it when the frame goes out.
    bool levelWaiting = false;
    // The level last sent for each channel set (for "Dali DT8", set 1 is the colour
    // temperature), -1 before the first send. An
    // answer with another level answers an earlier frame, one the device may send
    // long after a newer level was sent and confirmed: it is not the confirmation.
    int sentLevel[light::Sets] = {-1, -1, -1, -1};
    void noteSent(int k, int level) { sentLevel[k] = level; }
    bool confirms(int k, int level) const { return sentLevel[k] < 0 || sentLevel[k] == level; }

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
