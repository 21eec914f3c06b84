#include "ElementTypes.h"

#include <QHash>

namespace {

struct Entry {
    const char* name;
    const char* canonical;
    int nodeCount;
};

// clang-format off
const Entry recorded[] = {
    // trusses
    {"truss", "truss", 2}, {"Truss", "truss", 2},
    {"trussSection", "trussSection", 2}, {"TrussSection", "trussSection", 2},
    {"corotTruss", "corotTruss", 2}, {"CorotTruss", "corotTruss", 2},
    {"corotTrussSection", "corotTrussSection", 2}, {"CorotTrussSection", "corotTrussSection", 2},
    {"Truss2", "Truss2", 2}, {"CorotTruss2", "CorotTruss2", 2}, {"fTruss", "fTruss", 2},
    // beam-columns
    {"elasticBeamColumn", "elasticBeamColumn", 2},
    {"ModElasticBeam2d", "ModElasticBeam2d", 2}, {"modElasticBeam2d", "ModElasticBeam2d", 2},
    {"ElasticTimoshenkoBeam", "ElasticTimoshenkoBeam", 2},
    {"elasticTimoshenkoBeam", "ElasticTimoshenkoBeam", 2},
    {"dispBeamColumnInt", "dispBeamColumnInt", 2}, {"forceBeamColumn", "forceBeamColumn", 2},
    {"dispBeamColumn", "dispBeamColumn", 2}, {"timoshenkoBeamColumn", "timoshenkoBeamColumn", 2},
    {"forceBeamColumnCBDI", "forceBeamColumnCBDI", 2}, {"forceBeamColumnCSBDI", "forceBeamColumnCSBDI", 2},
    {"forceBeamColumnWarping", "forceBeamColumnWarping", 2},
    {"elasticForceBeamColumnWarping", "elasticForceBeamColumnWarping", 2},
    {"dispBeamColumnNL", "dispBeamColumnNL", 2}, {"dispBeamColumnThermal", "dispBeamColumnThermal", 2},
    {"elasticForceBeamColumn", "elasticForceBeamColumn", 2},
    {"nonlinearBeamColumn", "nonlinearBeamColumn", 2},
    {"dispBeamColumnWithSensitivity", "dispBeamColumnWithSensitivity", 2},
    {"beamWithHinges", "beamWithHinges", 2},
    {"elasticTubularJoint", "elasticTubularJoint", 2}, {"ElasticTubularJoint", "elasticTubularJoint", 2},
    {"SFI_MVLEM", "SFI_MVLEM", 2},
    // zero-length elements and links
    {"zeroLength", "zeroLength", 2}, {"zeroLengthSection", "zeroLengthSection", 2},
    {"zeroLengthRocking", "zeroLengthRocking", 2}, {"zeroLengthContact2D", "zeroLengthContact2D", 2},
    {"zeroLengthContact3D", "zeroLengthContact3D", 2}, {"zeroLengthND", "zeroLengthND", 2},
    {"CoupledZeroLength", "CoupledZeroLength", 2}, {"ZeroLengthCoupled", "CoupledZeroLength", 2},
    {"twoNodeLink", "twoNodeLink", 2},
    {"BeamContact2D", "BeamContact2D", 2}, {"BeamContact2d", "BeamContact2D", 2},
    {"BeamEndContact3d", "BeamEndContact3d", 2}, {"BeamEndContact3D", "BeamEndContact3d", 2},
    // bearings
    {"TFPbearing", "TFPbearing", 2}, {"TFP", "TFPbearing", 2},
    {"TripleFrictionPendulum", "TripleFrictionPendulum", 2}, {"HDR", "HDR", 2},
    {"LeadRubberX", "LeadRubberX", 2}, {"ElastomericX", "ElastomericX", 2},
    {"flatSliderBearing", "flatSliderBearing", 2}, {"singleFPBearing", "singleFPBearing", 2},
    {"RJWatsonEqsBearing", "RJWatsonEqsBearing", 2},
    {"elastomericBearing", "elastomericBearing", 2}, {"elastomericBearingPlasticity", "elastomericBearing", 2},
    {"elastomericBearingBoucWen", "elastomericBearingBoucWen", 2},
    {"multipleShearSpring", "multipleShearSpring", 2}, {"MSS", "multipleShearSpring", 2},
    {"multipleNormalSpring", "multipleNormalSpring", 2}, {"MNS", "multipleNormalSpring", 2},
    {"KikuchiBearing", "KikuchiBearing", 2}, {"YamamotoBiaxialHDR", "YamamotoBiaxialHDR", 2},
    // the solver reads only two node tags for this one
    {"9_4_QuadUP", "9_4_QuadUP", 2},
    // triangles
    {"Tri31", "Tri31", 3}, {"tri31", "Tri31", 3},
    // shells
    {"ShellMITC4", "ShellMITC4", 4}, {"shell", "ShellMITC4", 4}, {"shellMITC4", "ShellMITC4", 4},
    {"Shell", "ShellMITC4", 4},
    {"shellDKGQ", "shellDKGQ", 4}, {"ShellDKGQ", "shellDKGQ", 4},
    {"shellNLDKGQ", "shellNLDKGQ", 4}, {"ShellNLDKGQ", "shellNLDKGQ", 4},
    // quads (only the corner nodes of the nine-node quads)
    {"quad", "quad", 4}, {"stdQuad", "quad", 4}, {"quadWithSensitivity", "quadWithSensitivity", 4},
    {"enhancedQuad", "enhancedQuad", 4}, {"bbarQuad", "bbarQuad", 4}, {"mixedQuad", "bbarQuad", 4},
    {"nineNodeMixedQuad", "nineNodeMixedQuad", 4}, {"nineNodeQuad", "nineNodeMixedQuad", 4},
    {"quadUP", "quadUP", 4}, {"bbarQuadUP", "bbarQuadUP", 4},
    {"SSPquad", "SSPquad", 4}, {"SSPQuad", "SSPquad", 4},
    {"SSPquadUP", "SSPquadUP", 4}, {"SSPQuadUP", "SSPquadUP", 4},
    {"quad3d", "quad3d", 4}, {"Quad3d", "quad3d", 4}, {"VS3D4", "VS3D4", 4}, {"SurfaceLoad", "SurfaceLoad", 4},
    // joints (the four external nodes)
    {"Joint2D", "Joint2D", 4}, {"Joint2d", "Joint2D", 4}, {"beamColumnJoint", "beamColumnJoint", 4},
    // bricks
    {"stdBrick", "stdBrick", 8}, {"bbarBrick", "bbarBrick", 8},
    {"bbarBrickWithSensitivity", "bbarBrickWithSensitivity", 8}, {"brickUP", "brickUP", 8},
    {"bbarBrickUP", "bbarBrickUP", 8}, {"SSPbrick", "SSPbrick", 8}, {"SSPBrick", "SSPbrick", 8},
    {"SSPbrickUP", "SSPbrickUP", 8}, {"SSPBrickUP", "SSPbrickUP", 8},
};
// clang-format on

// Known solver elements we cannot draw; unknown names are ignored the same way.
// clang-format off
const char* const ignored[] = {
    "zeroLengthContactNTS2D", "zeroLengthInterface2D", "componentElement2d", "zeroLengthImpact3D",
    "pyMacro2D", "PY_Macro2D", "SimpleContact2d", "SimpleContact2D", "N4BiaxialTruss", "SimpleContact3d",
    "SimpleContact3D", "BeamContact3d", "BeamContact3D", "BeamContact3dp", "BeamContact3Dp", "PileToe3d",
    "PileToe3D", "FPBearingPTV", "MVLEM", "MultiFP2d", "MultiFPB2d", "shellNL", "ShellNL", "shellMITC9",
    "ShellMITC9", "BeamContact2dp", "BeamContact2Dp", "BeamEndContact3dp", "BeamEndContact3Dp", "TPB1D",
    "Quad4FiberOverlay", "Brick8FiberOverlay", "QuadBeamEmbedContact", "AC3D8", "ASI3D8", "AV3D4",
    "elastomericBearingBoucWenMod", "20_8_BrickUP", "20NodeBrick", "genericClient", "genericCopy",
    "flBrick", "Joint3D", "Joint3d", "inelastic2dYS01", "inelastic2dYS02", "inelastic2dYS03",
    "inelastic2dYS04", "inelastic2dYS05", "element2dGNL", "elastic2dGNL", "actuator", "corotActuator",
    "adapter", "elastomericBearingUFRP", "PFEMElement2D", "PFEMElement3D",
};
// clang-format on

const QHash<QString, ElementType>& table()
{
    static const QHash<QString, ElementType> types = [] {
        QHash<QString, ElementType> t;
        for (const Entry& e : recorded)
            t.insert(QString::fromLatin1(e.name), ElementType{QString::fromLatin1(e.canonical), e.nodeCount});
        return t;
    }();
    return types;
}

// Keyed by the UTF-8 bytes so that a Tcl word can be looked up without building a QString.
const QHash<QByteArray, ElementType>& byteTable()
{
    static const QHash<QByteArray, ElementType> types = [] {
        QHash<QByteArray, ElementType> t;
        for (auto it = table().cbegin(); it != table().cend(); ++it)
            t.insert(it.key().toUtf8(), it.value());
        return t;
    }();
    return types;
}

}  // namespace

ElementType lookupElementType(const QString& name)
{
    return table().value(name);
}

const ElementType& lookupElementType(const char* name)
{
    static const ElementType none;
    const auto& types = byteTable();
    const auto it = types.constFind(QByteArray::fromRawData(name, int(qstrlen(name))));
    return it == types.cend() ? none : it.value();
}

QStringList recordedElementNames()
{
    QStringList names;
    for (const Entry& e : recorded)
        names << QString::fromLatin1(e.name);
    return names;
}

QStringList ignoredElementNames()
{
    QStringList names;
    for (const char* name : ignored)
        names << QString::fromLatin1(name);
    return names;
}
