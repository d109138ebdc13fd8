// A second Lumivane process for the single-instance tests.
//   singleinstance_helper listen <name>           become the running instance, say so, wait
//   singleinstance_helper forward <name> <args…>  exit 0 when the running instance took args
#include "platform/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3)
        return 2;
    SingleInstance instance(arguments.at(2));
    if (arguments.at(1) == u"forward")
        return instance.forwardToRunning(arguments.mid(3)) ? 0 : 1;
    if (arguments.at(1) != u"listen" || !instance.listen())
        return 2;
    std::puts("listening");
    std::fflush(stdout);
    return app.exec();
}
