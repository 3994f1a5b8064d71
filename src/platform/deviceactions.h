#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// One thing to ask of a device: run a program (without a shell), call a home
// server's service for an entity, or read the entity's state.
struct DeviceRequest
{
    enum class Kind { Program, Service, State };
    Kind kind = Kind::Program;
    QString program;
    QStringList arguments;
    QUrl server;   // the home server's address, e.g. http://homeassistant.local:8123
    QString token; // its long-lived access token
    QString domain;
    QString service;
    QString entity;
};

struct DeviceReply
{
    bool ok = false;
    bool timedOut = false;
    QString state;  // a state read, or the entity's new state when the server told it
    QString reason; // why it failed, in Japanese, complete
};

// Runs device requests; each request is answered exactly once (a program that cannot
// start may be answered before run() returns).
class DeviceActions
{
public:
    using Done = std::function<void(const DeviceReply &)>;
    virtual ~DeviceActions() = default;
    virtual void run(const DeviceRequest &request, Done done) = 0;
};

// Programs through QProcess, the home server through its REST interface. Nothing
// waits on a device: every request ends by the time-out, saying so.
class QProcess;

class SystemDeviceActions final : public QObject, public DeviceActions
{
public:
    static constexpr int TimeoutMs = 3000;
    // How long a program asked to stop may take to tidy up before it is killed.
    static constexpr int StopGraceMs = 2000;

    explicit SystemDeviceActions(int timeoutMs = TimeoutMs, int stopGraceMs = StopGraceMs);
    ~SystemDeviceActions() override;

    void run(const DeviceRequest &request, Done done) override;

private:
    void runProgram(const DeviceRequest &request, Done done);
    void ask(const DeviceRequest &request, Done done);
    // Asks the program and everything it started to stop, then kills what is left after the grace.
    void stop(QProcess *p);

    int m_timeoutMs;
    int m_stopGraceMs;
    QNetworkAccessManager m_network;
};
