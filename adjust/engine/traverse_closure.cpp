#include "engine/closure_observations.hpp"
#include "engine/closures.hpp"

#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/sentinels.hpp"

#include <cmath>
#include <numbers>

namespace {

using platform::formatC;
constexpr double pi = std::numbers::pi;

bool isControl(const std::optional<ClosurePoint>& point) {
    return point && (point->pointType == 1 || point->pointType == 4);
}

class TraverseComputation {
public:
    TraverseComputation(const std::vector<std::string>& names, const ClosureSettings& settings)
        : names_(names), n_(names.size()), settings_(settings) {}

    TraverseClosure compute() {
        if (!enoughNames() || !pointToPointHasControl() || !loopCloses())
            return std::move(result_);
        result_.listed = true;
        result_.verticalShown = settings_.vertClosure != 0;
        if (!runPass(0.0, result_.measured))
            return std::move(result_);
        if (withAngles()) {
            TraversePass balanced;
            settings_.vertClosure = 0;
            if (!runPass(result_.measured.azimuths->correction_rad, balanced))
                return std::move(result_);
            result_.balanced = std::move(balanced);
        }
        result_.computed = true;
        return std::move(result_);
    }

private:
    bool withAngles() const { return settings_.angClosure != 0; }
    int type() const { return settings_.travType; }
    const std::string& start() const { return names_[1]; }
    // The index of the point where the run of legs ends.
    std::size_t endIndex() const {
        return withAngles() && (type() == loopExteriorRef || type() == pointToPoint) ? n_ - 2
                                                                                     : n_ - 1;
    }

    void message(const std::string& text) { result_.messages.push_back({text, {text}}); }
    bool fail(const std::string& text) {
        message(text);
        return false;
    }
    void stopVertical(const std::string& text) {
        message(text);
        settings_.vertClosure = 0;
    }

    bool enoughNames() {
        if (n_ >= (withAngles() ? 4u : 3u))
            return true;
        return fail("Not enough points to compute closure.");
    }

    // Control, or a point whose azimuth from `from` is observed.
    bool controlOrAzimuth(const std::string& from, const std::string& name) const {
        return isControl(findClosurePoint(name)) || findClosureAzimuth(from, name).has_value();
    }

    bool pointToPointHasControl() {
        if (type() != pointToPoint)
            return true;
        const std::string prefix = "Error computing traverse closure. ";
        if (!isControl(findClosurePoint(start())))
            return fail(prefix +
                        formatC("Starting point, %s is not a control point.", start().c_str()));
        if (!controlOrAzimuth(start(), names_[0]))
            return fail(prefix +
                        formatC("Starting BS, %s is not a control point.", names_[0].c_str()));
        const std::string& ending = names_[endIndex()];
        if (!isControl(findClosurePoint(ending)))
            return fail(prefix +
                        formatC("Ending point, %s is not a control point.", ending.c_str()));
        if (withAngles() && !controlOrAzimuth(ending, names_[n_ - 1]))
            return fail(prefix +
                        formatC("Ending BS, %s is not a control point.", names_[n_ - 1].c_str()));
        return true;
    }

    bool loopCloses() {
        if (type() != loopInteriorRef)
            return true;
        const std::string& last = names_[n_ - 1];
        if (withAngles()) {
            if (sameName(last, start()))
                return true;
            const std::string head =
                "In a loop traverse with angle closure the starting and ending point must match.";
            return failWithLines(head, "  Starting pt. :" + start(), "  Ending pt. :" + last);
        }
        if (sameName(last, names_[0]))
            return true;
        const std::string head = "In a loop traverse with no angle closure the starting and ending "
                                 "backsight point must match.";
        return failWithLines(head, "  Starting BS pt. :" + names_[0], "  Ending BS pt. :" + last);
    }

    bool failWithLines(const std::string& head, const std::string& first,
                       const std::string& second) {
        result_.messages.push_back({head + "\n" + first + "\n" + second, {head, first, second}});
        return false;
    }

    // Where the run starts and the direction back to the starting backsight.
    struct Start {
        double northing = 0.0;
        double easting = 0.0;
        double elevation = 0.0;
        double backAzimuth = 0.0;
    };

    bool startOf(Start& s) {
        const std::optional<ClosurePoint> known = findClosurePoint(start());
        if (known) {
            s.northing = known->northing;
            s.easting = known->easting;
            if (settings_.vertClosure != 0 && !isSet(known->elevation))
                stopVertical(formatC("No elev. for pt. %s. Cannot compute vertical closure.",
                                     start().c_str()));
            s.elevation = known->elevation;
        } else if (settings_.vertClosure != 0) {
            stopVertical("No starting Z, Cannot compute vertical closure.");
        }
        if (const std::optional<double> observed = findClosureAzimuth(start(), names_[0])) {
            s.backAzimuth = *observed;
            return true;
        }
        const std::optional<ClosurePoint> backsight = findClosurePoint(names_[0]);
        if (known && backsight) {
            double distance = 0.0;
            s.backAzimuth = inverseDirDist(known->northing, known->easting, backsight->northing,
                                           backsight->easting, distance);
            return true;
        }
        return fail(known ? "Cannot resolve initial backsight azimuth when computing traverse "
                            "closure."
                          : "No starting NE, and no initial backsight azimuth when computing "
                            "traverse closure.");
    }

    // The known values the run should end on.
    bool correctEnding(const Start& s, TraversePass::Linear& linear, double& elevation,
                       std::string& name) {
        if (withAngles() && type() != pointToPoint) {
            linear.correctNorthing = s.northing;
            linear.correctEasting = s.easting;
            elevation = s.elevation;
            name = start();
            return true;
        }
        name = withAngles() ? names_[n_ - 2] : names_[n_ - 1];
        const std::optional<ClosurePoint> known = findClosurePoint(name);
        if (!known)
            return fail(formatC("Cannot find closing point, %s when computing traverse closure.",
                                name.c_str()));
        linear.correctNorthing = known->northing;
        linear.correctEasting = known->easting;
        elevation = known->elevation;
        return true;
    }

    // Runs the traverse with `correction` added to every angle.
    bool runPass(double correction, TraversePass& pass) {
        Start s;
        if (!startOf(s))
            return false;
        const double initialBackAzimuth = s.backAzimuth;
        TraversePass::Linear linear;
        linear.computedNorthing = s.northing;
        linear.computedEasting = s.easting;
        double elevation = s.elevation;
        if (type() == loopInteriorRef && !withAngles())
            if (const std::optional<ClosureDistance> first =
                    findClosureDistance(start(), names_[0]))
                linear.distanceTraversed += first->distance;

        double backAzimuth = s.backAzimuth;
        double forwardAzimuth = backAzimuth;
        for (std::size_t i = 1; i < endIndex(); ++i) {
            const std::string& bs = names_[i - 1];
            const std::string& ip = names_[i];
            const std::string& fs = names_[i + 1];
            const std::optional<double> angle = findClosureAngle(bs, ip, fs);
            if (!angle)
                return fail(formatC(
                    "Could not find angle: BS:%s-IP:%s-FS:%s when computing traverse closure.",
                    bs.c_str(), ip.c_str(), fs.c_str()));
            const std::optional<ClosureDistance> leg = findClosureDistance(ip, fs);
            if (!leg)
                return fail(formatC("Could not find distance, %s-%s when computing traverse "
                                    "closure.",
                                    ip.c_str(), fs.c_str()));
            TraverseLeg listed{bs, ip, fs, *angle + correction, false, leg->distance, {}};
            forwardAzimuth = normalizedAngle(backAzimuth + listed.angle_rad);
            linear.computedNorthing += leg->distance * std::cos(forwardAzimuth);
            linear.computedEasting += leg->distance * std::sin(forwardAzimuth);
            linear.distanceTraversed += leg->distance;
            if (settings_.vertClosure != 0) {
                listed.heightDiff = leg->heightDiff;
                if (leg->heightDiff)
                    elevation += *leg->heightDiff;
                else
                    stopVertical(formatC("Could not find vertical difference, %s-%s when "
                                         "computing traverse closure.",
                                         ip.c_str(), fs.c_str()));
            }
            pass.legs.push_back(listed);
            backAzimuth = forwardAzimuth + pi;
        }

        double correctElevation = notComputed;
        std::string closingName;
        if (!correctEnding(s, linear, correctElevation, closingName))
            return false;
        if (settings_.vertClosure != 0 && !isSet(correctElevation))
            stopVertical(formatC("Cannot find closing elevation, %s when computing traverse "
                                 "closure.",
                                 closingName.c_str()));

        if (withAngles() &&
            !closeAzimuths(correction, initialBackAzimuth, backAzimuth, forwardAzimuth, pass))
            return false;
        pass.linear = linear;
        if (settings_.vertClosure != 0)
            pass.vertical = TraversePass::Vertical{correctElevation, elevation};
        return true;
    }

    // The known and computed closing azimuths and the angular misclosure.
    bool closeAzimuths(double correction, double initialBackAzimuth, double backAzimuth,
                       double forwardAzimuth, TraversePass& pass) {
        TraversePass::Azimuths az;
        if (type() == loopInteriorRef) {
            az.known_rad = normalizedAngle(initialBackAzimuth + pi);
            az.computed_rad = forwardAzimuth;
        } else {
            const std::string& bs = names_[n_ - 3];
            const std::string& ip = names_[n_ - 2];
            const std::string& fs = names_[n_ - 1];
            const std::optional<double> angle = findClosureAngle(bs, ip, fs);
            if (!angle)
                return fail(formatC(
                    "Could not find angle, BS:%s-IP:%s-FS:%s when computing traverse closure.",
                    bs.c_str(), ip.c_str(), fs.c_str()));
            TraverseLeg closing{bs, ip, fs, *angle + correction, true, 0.0, {}};
            pass.legs.push_back(closing);
            az.computed_rad = normalizedAngle(backAzimuth + closing.angle_rad);
            if (!knownClosingAzimuth(ip, fs, az.known_rad))
                return fail("Cannot resolve closing foresight azimuth when computing traverse "
                            "closure..");
        }
        double clockwise = 0.0;
        double counterClockwise = 0.0;
        angleFromDirections(az.known_rad, az.computed_rad, clockwise);
        angleFromDirections(az.computed_rad, az.known_rad, counterClockwise);
        // Every angle of the pass takes its share, so the balanced pass closes.
        az.angleCount = static_cast<int>(pass.legs.size());
        if (clockwise < counterClockwise) {
            az.error_rad = clockwise;
            az.correction_rad = -clockwise / az.angleCount;
        } else {
            az.error_rad = counterClockwise;
            az.correction_rad = counterClockwise / az.angleCount;
        }
        pass.azimuths = az;
        return true;
    }

    bool knownClosingAzimuth(const std::string& ending, const std::string& foresight,
                             double& azimuth) const {
        if (const std::optional<double> observed = findClosureAzimuth(ending, foresight)) {
            azimuth = *observed;
            return true;
        }
        const std::optional<ClosurePoint> a = findClosurePoint(ending);
        const std::optional<ClosurePoint> b = findClosurePoint(foresight);
        if (!a || !b)
            return false;
        double distance = 0.0;
        azimuth = inverseDirDist(a->northing, a->easting, b->northing, b->easting, distance);
        return true;
    }

    const std::vector<std::string>& names_;
    std::size_t n_;
    ClosureSettings settings_;
    TraverseClosure result_;
};

} // namespace

TraverseClosure computeTraverseClosure(const std::vector<std::string>& names,
                                       const ClosureSettings& settings) {
    return TraverseComputation(names, settings).compute();
}
