// The timeSeries command (path series are recorded for the load-history plot) and the eigen
// command (placeholder eigenvalues so that scripts computing periods keep running).
#include <cstdio>
#include <fstream>
#include <vector>

#include <QFile>
#include <QSet>

#include "ModelCommands.h"
#include "ModelRecord.h"

namespace modelcommands {

namespace {

bool isIgnoredSeries(const QString& type)
{
    static const QSet<QString> names = {"Constant",
                                        "ConstantSeries",
                                        "Trig",
                                        "TrigSeries",
                                        "Sine",
                                        "SineSeries",
                                        "Linear",
                                        "LinearSeries",
                                        "Rectangular",
                                        "Pulse",
                                        "PulseSeries",
                                        "Triangle",
                                        "TriangleSeries",
                                        "PeerDatabase",
                                        "PeerMotion",
                                        "PeerNGADatabase",
                                        "PeerNGAMotion",
                                        "DiscretizedRandomProcess",
                                        "NewDiscretizedRandomProcess",
                                        "SimulatedRandomProcess"};
    return names.contains(type);
}

// Reads the reals of a plain-text file as a C++ stream does: any white space separates them and
// reading stops at the first word that is not a number. False when the file cannot be opened.
bool readReals(const QString& name, std::vector<double>* values)
{
    std::ifstream in(QFile::encodeName(name).constData());
    if (!in)
        return false;
    double v = 0.0;
    while (in >> v)
        values->push_back(v);
    return true;
}

void append(QVector<double>& list, const std::vector<double>& values)
{
    for (double v : values)
        list.append(v);
}

// A Tcl list of reals appended to TARGET; MESSAGE texts follow the solver's wording.
bool appendList(Tcl_Obj* word, QVector<double>& target, int* appended, const QString& splitError,
                const QString& valueError, QString* message)
{
    int count = 0;
    const char** elements = nullptr;
    if (Tcl_SplitList(nullptr, Tcl_GetString(word), &count, &elements) != TCL_OK) {
        *message = splitError.arg(text(word));
        return false;
    }
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        double v = 0.0;
        if (Tcl_GetDouble(nullptr, elements[i], &v) != TCL_OK) {
            *message = valueError.arg(QString::fromUtf8(elements[i]));
            ok = false;
            break;
        }
        target.append(v);
        ++*appended;
    }
    Tcl_Free(reinterpret_cast<char*>(elements));
    return ok;
}

int pathSeries(int objc, Tcl_Obj* const objv[])
{
    ModelRecord& model = *modelRecord();
    if (objc < 4)
        return fail(QStringLiteral("WARNING not enough args - ") +
                    QStringLiteral(" Series -dt timeIncr -values {list of points }\n"));

    int tag = 0;
    const int first = readInt(objv[2], &tag) ? 3 : 2;
    double dt = 0.0;
    QString file, filePath, fileTime;
    bool haveFile = false, haveFilePath = false, haveFileTime = false;
    int valuesGiven = 0, timesGiven = 0;

    for (int i = first; i < objc; ++i) {
        const QString option = text(objv[i]);
        const bool last = i + 1 >= objc;
        const QString value = last ? QString() : text(objv[i + 1]);
        if (option == QLatin1String("-dt")) {
            if (last || !readDouble(objv[i + 1], &dt))
                return fail(QStringLiteral("WARNING invalid dt ") + value + QStringLiteral(" - ") +
                            QStringLiteral(" Series -dt dt ... \n"));
            ++i;
        } else if (option == QLatin1String("-tag")) {
            int checked = 0;
            if (last || !readInt(objv[i + 1], &checked))
                return fail(QStringLiteral("WARNING invalid tag ") + value + QStringLiteral(" - "));
            ++i;
        } else if (option == QLatin1String("-factor")) {
            double factor = 0.0;
            if (last || !readDouble(objv[i + 1], &factor))
                return fail(QStringLiteral("WARNING invalid cFactor ") + value + QStringLiteral(" - ") +
                            QStringLiteral(" Series -factor ... \n"));
            model.seriesFactor = factor;
            ++i;
        } else if (option == QLatin1String("-file") || option == QLatin1String("-filePath") ||
                   option == QLatin1String("-fileTime")) {
            if (last)
                continue;
            if (option == QLatin1String("-file")) {
                file = value;
                haveFile = true;
            } else if (option == QLatin1String("-filePath")) {
                filePath = value;
                haveFilePath = true;
            } else {
                fileTime = value;
                haveFileTime = true;
            }
            ++i;
        } else if (option == QLatin1String("-values")) {
            if (last)
                continue;
            QString message;
            if (!appendList(objv[i + 1], model.seriesValues, &valuesGiven,
                            QStringLiteral("WARNING problem splitting path list %1 - ") +
                                QStringLiteral(" Series -values {path} ... \n"),
                            QStringLiteral("WARNING problem reading path data value %1 - ") +
                                QStringLiteral(" Series -values {path} ... \n"),
                            &message))
                return fail(message);
            ++i;
        } else if (option == QLatin1String("-time")) {
            if (last)
                continue;
            QString message;
            if (!appendList(objv[i + 1], model.seriesTimes, &timesGiven,
                            QStringLiteral("WARNING problem spltting time path %1 - ") +
                                QStringLiteral(" Series -time {times} ... \n"),
                            QStringLiteral("WARNING problem reading time path value %1 - ") +
                                QStringLiteral(" Series -values {path} ... \n"),
                            &message))
                return fail(message);
            ++i;
        } else if (option == QLatin1String("-useLast")) {
            model.seriesUseLast = true;
        } else if (option == QLatin1String("-prependZero")) {
            model.seriesPrependZero = true;
        } else if (option == QLatin1String("-startTime") || option == QLatin1String("-tStart")) {
            double start = 0.0;
            if (last || !readDouble(objv[i + 1], &start)) {
                // The solver only warns here and goes on without a series.
                model.statusMessage = QStringLiteral("WARNING invalid tStart ") + value +
                                      QStringLiteral(" - ") +
                                      QStringLiteral(" Series -startTime tStart ... \n");
                return TCL_OK;
            }
            model.seriesStartTime = start;
            ++i;
        }
    }

    if (haveFilePath && !haveFileTime && dt != 0.0) {
        std::vector<double> values;
        if (!readReals(filePath, &values)) {
            model.statusMessage =
                QStringLiteral("WARNING - PathSeries::PathSeries() - could not open file ") + filePath;
            return TCL_OK;
        }
        int number = 0;
        if (model.seriesPrependZero) {
            model.seriesTimes.append(0.0);
            model.seriesValues.append(0.0);
            number = 1;
        }
        for (double v : values) {
            model.seriesTimes.append(number * dt);
            model.seriesValues.append(v);
            ++number;
        }
    } else if (haveFile) {
        std::vector<double> numbers;
        if (!readReals(file, &numbers)) {
            model.statusMessage =
                QStringLiteral("WARNING - PathTimeSeries::PathTimeSeries() - could not open file ") + file;
            return TCL_OK;
        }
        if (numbers.size() % 2 != 0)
            model.statusMessage = QStringLiteral("WARNING - PathTimeSeries::PathTimeSeries()") +
                                  QStringLiteral(" - num data entries in file NOT EVEN! ") + file;
        // An unpaired last number has no value to go with it; keep the lists paired.
        for (size_t k = 0; k + 1 < numbers.size(); k += 2) {
            model.seriesTimes.append(numbers[k]);
            model.seriesValues.append(numbers[k + 1]);
        }
    } else if (haveFileTime && haveFilePath) {
        std::vector<double> times, values;
        const QString cannotOpen =
            QStringLiteral("WARNING - PathTimeSeries::PathTimeSeries() - could not open file ");
        if (!readReals(fileTime, &times)) {
            model.statusMessage = cannotOpen + fileTime;
            return TCL_OK;
        }
        if (!readReals(filePath, &values)) {
            model.statusMessage = cannotOpen + filePath;
            return TCL_OK;
        }
        if (times.size() != values.size()) {
            model.statusMessage =
                QStringLiteral("WARNING PathTimeSeries::PathTimeSeries() - files containing data ") +
                QStringLiteral("points for path and time do not contain same number of points\n");
            return TCL_OK;
        }
        append(model.seriesTimes, times);
        append(model.seriesValues, values);
    } else if (valuesGiven == 0 || (timesGiven == 0 && dt == 0.0)) {
        // Judged on this command's own lists: an earlier series must not make a bad one valid.
        return fail(QStringLiteral("WARNING choice of options for Path Series invalid - valid options for ") +
                    QStringLiteral(" Path are\n") +
                    QStringLiteral(" \t -fileT fileTimeName -fileP filePathName \n") +
                    QStringLiteral(" \t -dt constTimeIncr -file filePathName\n") +
                    QStringLiteral(" \t -dt constTimeIncr -values {list of points on path}\n") +
                    QStringLiteral(" \t -time {list of time points} -values {list of points on path}\n"));
    } else if (timesGiven == 0) {
        model.seriesTimeStep = dt;
    }
    return TCL_OK;
}

// The ground-motion series read a record file and give its step and length back in the variables
// named after -dT and -nPts; the script computes its analysis with them.
void setRecordVariables(Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    for (int i = 2; i + 1 < objc; ++i) {
        const QString option = text(objv[i]);
        if (option == QLatin1String("-dT") || option == QLatin1String("-nPts"))
            Tcl_ObjSetVar2(interp, objv[i + 1], nullptr, Tcl_NewIntObj(0), 0);
    }
}

}  // namespace

int timeSeriesCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const QString type = objc > 1 ? text(objv[1]) : QString();
    if (type == QLatin1String("Path") || type == QLatin1String("Series"))
        return pathSeries(objc, objv);
    if (isIgnoredSeries(type)) {
        setRecordVariables(interp, objc, objv);
        return TCL_OK;
    }
    return fail(QStringLiteral("WARNING unknown Series type ") + type + QStringLiteral(" - ") +
                QStringLiteral(" valid types: Linear, Rectangular, Path, Constant, Trig, Sine\n"));
}

int eigenCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 2)
        return fail(QStringLiteral("WARNING want - eigen <type> numModes?\n"));
    static const QSet<QString> options = {
        "frequency",       "-frequency",          "generalized",          "-generalized",
        "standard",        "-standard",           "-findLargest",         "genBandArpack",
        "-genBandArpack",  "genBandArpackEigen",  "-genBandArpackEigen",  "symmBandLapack",
        "-symmBandLapack", "symmBandLapackEigen", "-symmBandLapackEigen", "fullGenLapack",
        "-fullGenLapack",  "fullGenLapackEigen",  "-fullGenLapackEigen"};
    for (int i = 1; i < objc - 1; ++i) {
        if (!options.contains(text(objv[i])))
            modelRecord()->statusMessage =
                QStringLiteral("eigen - unknown option specified ") + text(objv[i]);
    }
    // The placeholder text grows with numModes; a mistyped huge count must not exhaust memory.
    const int maxModes = 1000000;
    int modes = 0;
    if (!readInt(objv[objc - 1], &modes) || modes < 0 || modes > maxModes)
        return fail(QStringLiteral("WARNING eigen numModes?  - illegal numModes\n"));
    char one[64];
    std::snprintf(one, sizeof one, "%.6e  ", 0.5);
    QByteArray values;
    values.reserve(int(qstrlen(one)) * modes);
    for (int i = 0; i < modes; ++i)
        values += one;
    Tcl_SetObjResult(interp, Tcl_NewStringObj(values.constData(), values.size()));
    return TCL_OK;
}

}  // namespace modelcommands
