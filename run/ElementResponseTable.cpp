#include "ElementResponseTable.h"

// One row per element type: the canonical type name, then the responses its recorder accepts, in
// the order the dialog lists them. A row without responses cannot be recorded.
// clang-format off
static const char kTable[] = R"(
truss globalForces axialForce deformations
trussSection globalForces axialForce deformations basicStiffness section
corotTruss globalForces axialForce deformations
corotTrussSection globalForces axialForce deformations section
zeroLengthContactNTS2D force stiff pressure gap
zeroLengthInterface2D force stiff pressure gap
componentElement2d globalForces localForces basicForces hingeDefoAndForce hingeTangent
zeroLengthImpact3D force stiff
ModElasticBeam2d globalForces localForces basicForces
ElasticTimoshenkoBeam globalForces localForces
pyMacro2D
SimpleContact2d force frictionforce forcescalar
N4BiaxialTruss globalForces axialForce deformations
SimpleContact3d force frictionforce forcescalar
BeamContact3d force frictionforce forcescalar masterforce mastermoment masterreaction slip
BeamContact3dp force frictionforce forcescalar masterforce mastermoment masterreaction slip
PileToe3d reaction
TFPbearing
FPBearingPTV globalForces localForces basicForces localDisplacements deformations temperature mufactors muadj heatflux
TripleFrictionPendulum globalForces localForces basicForces localDisplacements deformations compDisplacements frictionModel
HDR globalForces localForces basicForces localDisplacements deformations evolution basicStiff parameters
LeadRubberX globalForces localForces basicForces localDisplacements deformations hystereticParam dzdu basicStiff Parameters
ElastomericX globalForces localForces basicForces localDisplacements deformations hystereticParam dzdu basicStiff Parameters
MVLEM globalForces curvature fiber_strain fiber_stress_concrete fiber_stress_steel shear_force_deformation
SFI_MVLEM globalForces sheardef curvature RCPanel
MultiFP2d globalForces friction vertical
ShellMITC4 globalForces stresses strains
shellNL globalForces stresses strains
shellDKGQ globalForces stresses strains
shellNLDKGQ globalForces stresses strains
CoupledZeroLength globalforces
BeamContact2D force frictionforce forcescalar masterforce
BeamContact2dp force frictionforce forcescalar masterforce gap
BeamEndContact3d force frictionforce
BeamEndContact3dp force frictionforce
Tri31 force stresses
SSPquad
SSPquadUP
SSPbrick
SSPbrickUP
SurfaceLoad
TPB1D globalForces
elasticTubularJoint
quad3d force stresses
Quad4FiberOverlay globalForces axialForce
Brick8FiberOverlay globalForces axialForce
QuadBeamEmbedContact beamForces solidForces Forces stresses
Truss2 globalForces axialForce deformations
CorotTruss2 globalForces axialForce deformations
AC3D8
ASI3D8
AV3D4
elastomericBearingBoucWenMod globalForces localForces basicForces deformations hystParameter
VS3D4
fTruss
elasticBeamColumn globalForces localForces basicForces deformations
dispBeamColumnInt globalForces localForces basicDeformation plasticDeformation section
forceBeamColumn globalForces localForces basicDeformation plasticDeformation inflectionPoint tangentDrift rayleighForces section
dispBeamColumn globalForces localForces basicDeformation plasticDeformation rayleighForces sectionX section
timoshenkoBeamColumn
forceBeamColumnCBDI globalForces localForces basicForces basicDeformation plasticDeformation inflectionPoint tangentDrift basicForce dvpdh dqdh integrationPoints integrationWeights sectionX section
forceBeamColumnCSBDI globalForces localForces basicForces basicDeformation plasticDeformation inflectionPoint tangentDrift basicForce dvpdh dqdh integrationPoints integrationWeights sectionX section
forceBeamColumnWarping globalForces localForces basicForces basicDeformation plasticDeformation inflectionPoint tangentDrift basicForce dvpdh dqdh integrationPoints integrationWeights rayleighForces sectionX section
elasticForceBeamColumnWarping globalForces localForces basicForces basicDeformation plasticDeformation inflectionPoint tangentDrift basicForce integrationPoints integrationWeights sectionX section
dispBeamColumnNL
dispBeamColumnThermal globalForces localForces basicForces basicDeformation plasticDeformation sectionX dcurvdh dvdh integrationPoints integrationWeights
elasticForceBeamColumn globalForces localForces basicForces basicDeformation plasticDeformation inflectionPoint tangentDrift sectionX section
nonlinearBeamColumn globalForces localForces basicDeformation plasticDeformation inflectionPoint tangentDrift rayleighForces section
dispBeamColumnWithSensitivity globalForces localForces basicDeformation plasticDeformation
beamWithHinges
quad force stresses
quadWithSensitivity force stiff stresses
enhancedQuad force stresses strains
bbarQuad
nineNodeMixedQuad force stresses
quadUP force stiff
brickUP force stiff mass damp stresses
9_4_QuadUP force stiff mass damp
20_8_BrickUP force stiff mass damp stresses
20NodeBrick force stresses
bbarQuadUP force stiff
bbarBrickUP force stiff mass damp stresses
genericClient globalForces localForces basicForces deformations ctrlVelocities ctrlAccelerations
genericCopy globalForces localForces
stdBrick force stresses strains
bbarBrick force stresses strains
bbarBrickWithSensitivity force stresses
flBrick
zeroLength globalForces basicForces deformations basicStiffness deformationANDforces dampingForces
zeroLengthSection globalForces localForces deformations section
zeroLengthRocking force deformations
zeroLengthContact2D force stiff pressure gap
zeroLengthContact3D force stiff
zeroLengthND globalForces basicForces deformations
Joint2D internalNode jointSize moments deformations deformationANDforce stiffness plasticDeformation damages
Joint3D internalNode jointSize moments deformations deformationANDforce stiffness plasticDeformation
inelastic2dYS01
inelastic2dYS02
inelastic2dYS03
inelastic2dYS04
inelastic2dYS05
element2dGNL
beamColumnJoint node1BarSlipL node1BarSlipR node1InterfaceShear node2BarSlipB node2BarSlipT node2InterfaceShear node3BarSlipL node3BarSlipR node3InterfaceShear node4BarSlipB node4BarSlipT node4InterfaceShear shearpanel externalDisplacement internalDisplacement deformation
actuator globalForces localForces basicForces deformations daqDisplacements
corotActuator globalForces localForces basicForces deformations daqDisplacements
adapter globalForces localForces basicForces deformations daqDisplacements
flatSliderBearing globalForces localForces basicForces localDisplacements deformations frictionModel
singleFPBearing globalForces localForces basicForces localDisplacements deformations frictionModel
RJWatsonEqsBearing globalForces localForces basicForces localDisplacements deformations frictionModel
elastomericBearing globalForces localForces basicForces deformations basicStiff
elastomericBearingBoucWen globalForces localForces basicForces deformations hystParameter dzdu basicStiff
elastomericBearingUFRP globalForces localForces basicForces deformations hystParameter
twoNodeLink globalForces localForces basicForces localDisplacements deformations deformationANDforce
PFEMElement2D
PFEMElement3D
multipleShearSpring globalForces localForces basicForces deformations
multipleNormalSpring globalForces localForces basicForces deformations
KikuchiBearing globalForces localForces basicForces deformations
YamamotoBiaxialHDR globalForces localForces basicForces localDisplacements deformations
)";
// clang-format on

const char* elementResponseTable()
{
    return kTable + 1;  // past the opening line break
}

QStringList elementResponseTableLines()
{
    QStringList lines = QString::fromLatin1(elementResponseTable()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList responsesOf(const QString& type)
{
    for (const QString& line : elementResponseTableLines()) {
        QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty() && words.first() == type)
            return words.mid(1);
    }
    return {};
}
