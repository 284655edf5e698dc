#ifndef DIALOGBUTTONS_H
#define DIALOGBUTTONS_H

class QDialog;
class QDialogButtonBox;
class QPushButton;

// A dialog's OK and Cancel (cmdOK, cmdOK's handler the dialog's own): OK the default button,
// taken by Enter, Cancel closing the dialog as Esc does and never taking Enter. A dialog adds
// its other buttons to the box, which places each by its role.
struct DialogButtons
{
    QDialogButtonBox *box;
    QPushButton *ok;
    QPushButton *cancel;
};
DialogButtons okAndCancel(QDialog *dialog);

#endif // DIALOGBUTTONS_H
