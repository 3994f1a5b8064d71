#pragma once

class QDialog;

// Shows a dialog modally and returns when it has been closed. Tests put a
// runner in its place that answers the dialog through its controls.
class ModalRunner
{
public:
    virtual ~ModalRunner() = default;
    virtual void run(QDialog &dialog) = 0;
};

class ExecRunner final : public ModalRunner
{
public:
    void run(QDialog &dialog) override;
};
