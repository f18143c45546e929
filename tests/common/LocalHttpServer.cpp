#include "common/LocalHttpServer.h"

#include <QEventLoop>
#include <QThread>

#include <future>

struct LocalServerThread::Running {
    std::unique_ptr<QThread> thread;
    QEventLoop *loop = nullptr;
    QStringList paths;
};

LocalServerThread::LocalServerThread(QList<Canned> answers) : running_(std::make_unique<Running>())
{
    std::promise<QString> started;
    std::future<QString> url = started.get_future();
    Running *running = running_.get();
    running_->thread.reset(QThread::create([running, answers, &started]() mutable {
        LocalServer server(std::move(answers));
        QEventLoop loop;
        running->loop = &loop;
        started.set_value(server.url());
        loop.exec();
        running->paths = server.paths;
    }));
    running_->thread->start();
    url_ = url.get();
}

QStringList LocalServerThread::stop()
{
    if (running_->thread->isRunning()) {
        QMetaObject::invokeMethod(running_->loop, &QEventLoop::quit, Qt::QueuedConnection);
        running_->thread->wait();
    }
    return running_->paths;
}

LocalServerThread::~LocalServerThread()
{
    stop();
}
