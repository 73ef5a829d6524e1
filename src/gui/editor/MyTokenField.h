#pragma once

#include <QStringList>
#include <QWidget>

class QCompleter;
class QLineEdit;
class QStringListModel;
class TokenChip;

// A field of tokens (tags): each token is shown as a chip; text typed into the field becomes a
// token when a comma is typed, Return is pressed or editing ends. Tokens keep the order in which
// they were entered; empty and duplicate tokens are not added (compared exactly, case matters).
//
// Keyboard: typing adds text; Return or a comma ends a token; Backspace at the start of the text
// removes the token before it; Left at the start of the text selects the tokens one by one
// (Right goes back), and Backspace or Delete removes the selected token. A click on a token's
// cross removes it. Completions come from setCompletions() and are offered as the user types.
//
// tokensChanged() is emitted on the next turn of the event loop after editing ends (the field
// loses focus, Return is pressed, or a token is removed by a click while the field is not being
// edited), and only when the tokens differ from those last set or announced.
// setTokens() announces nothing.
class MyTokenField : public QWidget
{
    Q_OBJECT
public:
    explicit MyTokenField(QWidget *parent = nullptr);
    ~MyTokenField() override;

    QStringList tokens() const { return pTokens; }
    void setTokens(const QStringList &tokens);
    void setCompletions(const QStringList &completions);

    // Turns the text typed but not yet ended into a token (as ending the editing does), without
    // announcing anything; for callers that read tokens() while the user may still be typing.
    void commitEditing();
    // Takes in pending text as commitEditing() does; true when the tokens then differ from those
    // last set or announced, which they count as announced from now on (the caller passes them
    // on at once instead of waiting for tokensChanged()).
    bool takeEdit();

    // The text typed after the last token.
    QString pendingText() const;
    // The index of the token selected with the keyboard, or -1.
    int selectedToken() const { return nSelected; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tokensChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Adds the token when it is not empty and not present; true when added.
    bool addToken(const QString &text);
    void removeToken(int index);
    void rebuildChips();
    void applyLayout();
    void updateCompletionModel();
    void updateAccessibility();
    void selectToken(int index);
    void onTextEdited(const QString &text);
    void endEditing();
    void scheduleNotice();
    // Places the chips and the editor in rows for the given width; answers the height used.
    int layoutFor(int width, bool apply) const;

    QStringList pTokens;
    QStringList pCompletions;
    QStringList pAnnounced; // the tokens as last set or announced
    QList<TokenChip *> pChips;
    QLineEdit *pEditor = nullptr;
    QCompleter *pCompleter = nullptr;
    QStringListModel *pCompletionModel = nullptr;
    int nSelected = -1;
    bool bNoticePending = false;
};
