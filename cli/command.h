#pragma once

#include <QString>

#include <memory>

class Session;
struct Input;

// One converter-cli command over the shared session.
class Command
{
public:
    virtual ~Command() = default;
    // The exit status, with messages printed.
    virtual int run(Session &session, const Input &input) = 0;
    // Whether it needs the device port (history reads only the journal).
    virtual bool opensPort() const { return true; }
};

// The command of this name; null for a name that is not one.
std::unique_ptr<Command> commandNamed(const QString &name);

class SearchCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

class ShowCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// set, and reset (the factory defaults as the changes).
class SetCommand : public Command
{
public:
    explicit SetCommand(bool reset) : reset(reset) {}
    int run(Session &session, const Input &input) override;

private:
    bool reset;
};

class ApplyCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

class AssignCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// The journal's writes, newest last; sends nothing.
class HistoryCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
    bool opensPort() const override { return false; }
};

// Undoes journaled writes: each changed field back to its value before,
// where the converter still holds what the write left.
class RevertCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// Gives a new unit every setting of a failed one, taken from the journal or
// a fleet file, once the failed one is gone.
class ReplaceCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// One self-contained HTML page of the segment: addresses by subnet, every
// converter, their last writes.
class ReportCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// Configures converters unattended as they appear on the network.
class WatchCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// Opens converters' data paths from this computer and, with a loopback
// plug, checks that data comes back; sends no configure frame.
class TestCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// Joins a converter's data path to standard input and output, or to a
// pseudo-terminal that serial programs open.
class ConnectCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
};

// Keeps a batch written with --try.
class ConfirmCommand : public Command
{
public:
    int run(Session &session, const Input &input) override;
    bool opensPort() const override { return false; }
};
