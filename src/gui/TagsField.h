#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;

// The control in which a tags row shows and edits its list of tags. It wraps the application's
// token field (MyTokenField) when that is part of the build, and otherwise a plain text field
// in which the tags are separated by commas; both give the tags exactly as typed, in order.
// tokensChanged() comes on the next turn of the event loop after editing ends.
class TagsField : public QWidget
{
    Q_OBJECT
public:
    explicit TagsField(QWidget *parent = nullptr);
    ~TagsField() override;

    QStringList tokens() const;
    void setTokens(const QStringList &tokens);
    void setCompletions(const QStringList &completions);

    // The widget that takes the keyboard focus.
    QWidget *editor() const { return pEditor; }

signals:
    void tokensChanged();

private:
    QWidget *pEditor = nullptr;
    QStringList pShownTokens; // the plain field: the tags last set, read back while unedited
    QString strShownText;
};
