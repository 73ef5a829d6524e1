#pragma once

#include <QPointer>
#include <QWidget>

class MyDocument;
class QLabel;

// The home-measurement summary of the document's selected filter, under the averages table. It
// follows the readings, the selected filter and the summary's preferences; the work is done once
// per turn of the event loop, and only while the pane is shown.
class HomeSummaryPane : public QWidget
{
    Q_OBJECT
public:
    explicit HomeSummaryPane(MyDocument *document, QWidget *parent = nullptr);

    // The texts shown, for tests and accessibility: title, period, counts, table, verdict.
    QString text() const;
    // Computes now if anything changed since the last computation.
    void updateNow();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void scheduleUpdate();
    void onPreferenceChanged(const QString &key);

    QPointer<MyDocument> pDocument;
    QLabel *pTitle;
    QLabel *pBody;
    bool bDirty = true;
    bool bScheduled = false;
};
