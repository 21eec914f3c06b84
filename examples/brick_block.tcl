# Soil block on a rigid base: stdBrick elements over a regular grid, fixed at the bottom,
# loaded by its own weight.
# Units: kN, m, s.
wipe
model basic -ndm 3 -ndf 3

# ---- geometry and mesh
set sizeX 6.0
set sizeY 4.0
set sizeZ 3.0
set nx 6
set ny 4
set nz 3
set dx [expr {$sizeX / $nx}]
set dy [expr {$sizeY / $ny}]
set dz [expr {$sizeZ / $nz}]

# Tag of the grid node (i, j, k), all from 0.
proc nodeTag {i j k} {
    global nx ny
    return [expr {($k * ($ny + 1) + $j) * ($nx + 1) + $i + 1}]
}

for {set k 0} {$k <= $nz} {incr k} {
    for {set j 0} {$j <= $ny} {incr j} {
        for {set i 0} {$i <= $nx} {incr i} {
            node [nodeTag $i $j $k] [expr {$i * $dx}] [expr {$j * $dy}] [expr {$k * $dz}]
        }
    }
}

# ---- material
set E 8.0e4
set nu 0.3
set rho 1.8
nDMaterial ElasticIsotropic 1 $E $nu $rho

# ---- elements: bottom face counter-clockwise, then the top face above it
set eleTag 1
set gamma [expr {-$rho * 9.81}]
for {set k 0} {$k < $nz} {incr k} {
    for {set j 0} {$j < $ny} {incr j} {
        for {set i 0} {$i < $nx} {incr i} {
            set i1 [expr {$i + 1}]
            set j1 [expr {$j + 1}]
            set k1 [expr {$k + 1}]
            element stdBrick $eleTag \
                [nodeTag $i $j $k] [nodeTag $i1 $j $k] [nodeTag $i1 $j1 $k] [nodeTag $i $j1 $k] \
                [nodeTag $i $j $k1] [nodeTag $i1 $j $k1] [nodeTag $i1 $j1 $k1] [nodeTag $i $j1 $k1] \
                1 0.0 0.0 $gamma
            incr eleTag
        }
    }
}

# ---- rigid base
for {set j 0} {$j <= $ny} {incr j} {
    for {set i 0} {$i <= $nx} {incr i} {
        fix [nodeTag $i $j 0] 1 1 1
    }
}

# ---- gravity in ten steps
constraints Transformation
numberer RCM
system BandGeneral
test NormDispIncr 1.0e-6 20
algorithm Newton
integrator LoadControl 0.1
analysis Static
analyze 10
puts "block: [expr {($nx + 1) * ($ny + 1) * ($nz + 1)}] nodes, [expr {$nx * $ny * $nz}] bricks"
