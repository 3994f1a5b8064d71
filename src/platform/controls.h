#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>

// A command button drawn in the graphical style, so that its back colour shows.
// Members of a control array carry their index.
class ColorButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ColorButton(const QString &caption, QWidget *parent, int index = -1);
    void setBackColor(quint32 bgr);
    quint32 backColor() const { return m_back; }
    int index() const { return m_index; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    quint32 m_back = 0xFFFFFF;
    int m_index;
};

// A frame without caption, filled with its back colour.
class ColorFrame : public QFrame
{
    Q_OBJECT
public:
    explicit ColorFrame(QWidget *parent);
    void setBackColor(quint32 bgr);
};

// A label with a back colour that reports clicks, for labels that double as buttons.
class ColorLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ColorLabel(const QString &caption, QWidget *parent);
    void setBackColor(quint32 bgr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A named button in its place (twips), colour and "ＭＳ Ｐゴシック" size; array
// members carry their index as the property "index".
ColorButton *makeButton(QWidget *parent, const char *name, const QString &caption, QRect twips, quint32 back,
                        double points, bool bold, int index = -1);

// Fills a widget's background with a colour given as 0x00BBGGRR.
void setBackground(QWidget *widget, quint32 bgr);

// Names a dialog control and gives it its place (twips), the dialog's colour
// and a bold "ＭＳ Ｐゴシック" size. Option buttons and check boxes fill with the
// button colour unless told otherwise, so they take the window's.
void styleDialogControl(QWidget *widget, const char *name, QRect twips, quint32 back, double points);
