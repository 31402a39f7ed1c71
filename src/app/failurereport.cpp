#include "app/failurereport.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace app {

namespace {

FailureSink &failureSink()
{
    static FailureSink sink;
    return sink;
}

} // namespace

QString failureText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void setFailureSink(FailureSink sink)
{
    failureSink() = std::move(sink);
}

void reportFailure(const QString &message)
{
    const QString text = failureText(message);
    if (failureSink()) {
        failureSink()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok);
    box.exec();
}

void reportCurrentException() noexcept
{
    try {
        throw;
    } catch (const SilentAbort &) {
    } catch (const Failure &failure) {
        reportFailure(failure.message());
    } catch (const std::exception &exception) {
        reportFailure(QString::fromLocal8Bit(exception.what()));
    } catch (...) {
        reportFailure(QString());
    }
}

} // namespace app
