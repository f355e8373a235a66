#!/usr/bin/env python3
# Tells which page clip, and which moment of it, sounds at each moment of a sound capture made
# with SDL's disk driver (44100 Hz, 16-bit stereo), so that one can check by ear-free means that
# clips start on their presses and are cut off by the next one.
#   usage: capture_timeline.py BUILD_DIR CAPTURE.raw START_BYTE PAGE ENTRY [ENTRY ...]
# Needs numpy and sox.
import re,subprocess,sys
import numpy as np
build,capture,start,page=sys.argv[1],sys.argv[2],int(sys.argv[3]),sys.argv[4]
src=open(build+'/content/out/content_data.cpp').read()
pack=open(build+'/content/out/pack.bin','rb').read()
blobs=re.findall(r'\{qcbook_pack \+ (\d+), (\d+)\}', src.split('const Blob clips[] = {')[1].split('};')[0])
idx=[int(x) for x in re.search(r'const int clips'+page+r'\[\] = \{([^}]*)\}',src).group(1).split(',') if x.strip()]
cap=open(capture,'rb').read()[start:]
left=np.frombuffer(cap[:len(cap)//4*4],dtype='<i2')[0::2].astype(float)
def decoded(n):
    off,size=map(int,blobs[idx[n-1]])
    open('/tmp/capture_timeline_clip.wav','wb').write(pack[off:off+size])
    raw=subprocess.run(['sox','/tmp/capture_timeline_clip.wav','-t','raw','-r','44100','-c','2','-b','16','-e','signed','-'],capture_output=True).stdout
    return np.frombuffer(raw[:len(raw)//4*4],dtype='<i2')[0::2].astype(float)
clips={n:decoded(n) for n in map(int,sys.argv[5:])}
W=2048; step=int(0.1*44100)
for pos in range(0,len(left)-W,step):
    w=left[pos:pos+W]
    if np.abs(w).max()<300: print("%.1fs silence"%(pos/44100)); continue
    best=(0,None,0)
    for n,d in clips.items():
        if len(d)<W: continue
        corr=np.correlate(d,w,'valid')
        energy=np.sqrt(np.convolve(d*d,np.ones(W),'valid'))*np.sqrt((w*w).sum())+1
        r=corr/energy; i=int(r.argmax())
        if r[i]>best[0]: best=(r[i],n,i)
    print("%.1fs clip %s at its %.2fs (match %.2f)"%(pos/44100,best[1],best[2]/44100,best[0]))
