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
