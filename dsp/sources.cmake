set(QV_DSP_SOURCES
  dsp/CoefficientMath.cpp
  dsp/Fft.cpp
  dsp/CrossoverBank.cpp
)
