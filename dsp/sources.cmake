set(QV_DSP_SOURCES
  dsp/CoefficientMath.cpp
  dsp/Fft.cpp
)
